#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace zelvan {

class MessageBoxesTest : public QObject {
    Q_OBJECT

  private:
    // Runs `act` on the message box as soon as it shows, and records its button captions.
    void whenShown(const std::function<void(QMessageBox&)>& act)
    {
        QTimer::singleShot(0, this, [this, act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                whenShown(act); // not shown yet
                return;
            }
            m_captions.clear();
            for (QAbstractButton* button : box->buttons())
                m_captions << button->text();
            act(*box);
        });
    }
    static QAbstractButton* button(QMessageBox& box, const QString& caption)
    {
        for (QAbstractButton* candidate : box.buttons()) {
            if (candidate->text() == caption)
                return candidate;
        }
        return nullptr;
    }

    QStringList m_captions;
    QStringList m_opened;

    const MessageRequest kSummary{
        "Insgesamt verarbeitete Datensätze: 3\r\n\r\nProtokoll und CSV-Dateien im Ordner: /tmp/demo/",
        "Zelvan Konverter",
        MessageButtons::Ok,
        MessageIcon::None,
        0,
        "/tmp/demo/"};

  private slots:
    void init()
    {
        m_captions.clear();
        m_opened.clear();
    }

    void a_box_that_names_a_folder_opens_it_and_answers_ok()
    {
        QtMessageBoxes boxes(nullptr, [this](const QString& folder) { return m_opened << folder, true; });
        whenShown([](QMessageBox& box) { button(box, QStringLiteral("Ordner öffnen"))->click(); });
        QCOMPARE(boxes.showMessage(kSummary), MessageAnswer::Ok);
        QVERIFY(m_captions.contains(QStringLiteral("OK")));
        QVERIFY(m_captions.contains(QStringLiteral("Ordner öffnen")));
        QCOMPARE(m_opened, QStringList{QStringLiteral("/tmp/demo/")});
    }

    void ok_closes_it_without_opening_the_folder()
    {
        QtMessageBoxes boxes(nullptr, [this](const QString& folder) { return m_opened << folder, true; });
        whenShown([](QMessageBox& box) { button(box, QStringLiteral("OK"))->click(); });
        QCOMPARE(boxes.showMessage(kSummary), MessageAnswer::Ok);
        QVERIFY(m_opened.isEmpty());
    }

    void a_box_without_a_folder_has_only_its_own_buttons_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("Ok") << int(MessageButtons::Ok) << QStringList{"OK"};
        QTest::newRow("YesNo") << int(MessageButtons::YesNo) << QStringList{"&Ja", "&Nein"};
        QTest::newRow("YesNoCancel") << int(MessageButtons::YesNoCancel) << QStringList{"&Ja", "&Nein", "&Abbrechen"};
    }

    void a_box_without_a_folder_has_only_its_own_buttons()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        QtMessageBoxes boxes(nullptr, [this](const QString& folder) { return m_opened << folder, true; });
        whenShown([](QMessageBox& box) { box.buttons().front()->click(); });
        boxes.showMessage({"Frage", "Titel", static_cast<MessageButtons>(buttons), MessageIcon::Question, 0});
        m_captions.sort();
        captions.sort();
        QCOMPARE(m_captions, captions);
        QVERIFY(m_opened.isEmpty());
    }

    void a_question_answers_to_its_letters_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("answer");
        const int yesNoCancel = int(MessageButtons::YesNoCancel);
        QTest::newRow("J") << int(Qt::Key_J) << yesNoCancel << int(MessageAnswer::Yes);
        QTest::newRow("N") << int(Qt::Key_N) << yesNoCancel << int(MessageAnswer::No);
        QTest::newRow("A") << int(Qt::Key_A) << yesNoCancel << int(MessageAnswer::Cancel);
        QTest::newRow("J, Ja/Nein") << int(Qt::Key_J) << int(MessageButtons::YesNo) << int(MessageAnswer::Yes);
        QTest::newRow("N, Ja/Nein") << int(Qt::Key_N) << int(MessageButtons::YesNo) << int(MessageAnswer::No);
    }

    void a_question_answers_to_its_letters()
    {
        QFETCH(int, key);
        QFETCH(int, buttons);
        QFETCH(int, answer);
        QtMessageBoxes boxes;
        whenShown([key](QMessageBox& box) { QTest::keyClick(&box, static_cast<Qt::Key>(key)); });
        // The default button is another one than the letter's, where there is a choice.
        const MessageRequest question{"Möchten Sie vorher die aktuellen Daten speichern?",
                                      "Speicherabfrage IBAN-Konverter", static_cast<MessageButtons>(buttons),
                                      MessageIcon::Question, answer == int(MessageAnswer::Cancel) ? 0 : 2};
        QCOMPARE(boxes.showMessage(question), static_cast<MessageAnswer>(answer));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::MessageBoxesTest)
#include "MessageBoxesTest.moc"
