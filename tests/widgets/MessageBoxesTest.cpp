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

    void a_box_that_names_a_folder_offers_to_open_it_and_answers_ok_data()
    {
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QStringList>("opened");
        QTest::newRow("Ordner öffnen") << QStringLiteral("Ordner öffnen") << QStringList{"/tmp/demo/"};
        QTest::newRow("OK") << QStringLiteral("OK") << QStringList();
    }

    void a_box_that_names_a_folder_offers_to_open_it_and_answers_ok()
    {
        QFETCH(QString, clicked);
        QFETCH(QStringList, opened);
        QtMessageBoxes boxes(nullptr, [this](const QString& folder) { return m_opened << folder, true; });
        whenShown([clicked](QMessageBox& box) { button(box, clicked)->click(); });
        QCOMPARE(boxes.showMessage(kSummary), MessageAnswer::Ok);
        QVERIFY(m_captions.contains(QStringLiteral("OK")));
        QVERIFY(m_captions.contains(QStringLiteral("Ordner öffnen")));
        QCOMPARE(m_opened, opened);
    }

    void a_question_has_its_own_buttons_and_answers_to_their_letters_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("key"); // 0: the first button clicked
        QTest::addColumn<int>("answer");
        const int yesNoCancel = int(MessageButtons::YesNoCancel);
        const QStringList all{"&Ja", "&Nein", "&Abbrechen"};
        QTest::newRow("Ok") << int(MessageButtons::Ok) << QStringList{"OK"} << 0 << int(MessageAnswer::Ok);
        QTest::newRow("J") << yesNoCancel << all << int(Qt::Key_J) << int(MessageAnswer::Yes);
        QTest::newRow("N") << yesNoCancel << all << int(Qt::Key_N) << int(MessageAnswer::No);
        QTest::newRow("A") << yesNoCancel << all << int(Qt::Key_A) << int(MessageAnswer::Cancel);
        const QStringList yesNo{"&Ja", "&Nein"};
        QTest::newRow("J, Ja/Nein") << int(MessageButtons::YesNo) << yesNo << int(Qt::Key_J) << int(MessageAnswer::Yes);
    }

    void a_question_has_its_own_buttons_and_answers_to_their_letters()
    {
        QFETCH(int, buttons);
        QFETCH(QStringList, captions);
        QFETCH(int, key);
        QFETCH(int, answer);
        QtMessageBoxes boxes(nullptr, [this](const QString& folder) { return m_opened << folder, true; });
        whenShown([key](QMessageBox& box) {
            if (key == 0)
                box.buttons().front()->click();
            else
                QTest::keyClick(&box, static_cast<Qt::Key>(key));
        });
        // The default button is another one than the letter's, where there is a choice.
        const MessageRequest question{"Möchten Sie vorher die aktuellen Daten speichern?",
                                      "Speicherabfrage IBAN-Konverter", static_cast<MessageButtons>(buttons),
                                      MessageIcon::Question, key == 0 || answer == int(MessageAnswer::Cancel) ? 0 : 2};
        QCOMPARE(boxes.showMessage(question), static_cast<MessageAnswer>(answer));
        m_captions.sort();
        captions.sort();
        QCOMPARE(m_captions, captions);
        QVERIFY(m_opened.isEmpty());
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::MessageBoxesTest)
#include "MessageBoxesTest.moc"
