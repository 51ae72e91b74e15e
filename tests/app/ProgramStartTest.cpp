#include "app/ProgramStart.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include "DemoDatabases.h"
#include "app/AccountGrid.h"
#include "app/FormAdressen.h"
#include "app/WindowPlacement.h"
#include "select/AuswahlIBANDatei.h"
#include "support/MarloIbanCount.h"
#include "support/TempDir.h"

namespace zelvan {

// The program's own window, with its real store, selection dialog, file dialog and message
// boxes, driven as a user would through "Auswählen" and "Datei direkt auswählen".
class ProgramStartTest : public QObject {
    Q_OBJECT

  private:
    test::TempDir m_dir;
    std::string m_marlo;
    QStringList m_seen; // the kinds of modal windows answered, in order
    QList<QPointer<QWidget>> m_answered;

    // Answers whatever modal window shows: the selection dialog chooses the file directly, the
    // file dialog takes the demo database, a message box is confirmed.
    void answerModalWindows()
    {
        QWidget* modal = QApplication::activeModalWidget();
        // Each window is answered once: the answer may take a turn of the event loop to arrive.
        if (!modal || m_answered.contains(modal))
            return;
        m_answered << modal;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_seen << QStringLiteral("Meldung");
            if (box->defaultButton())
                box->defaultButton()->click();
            else
                box->close();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            m_seen << QStringLiteral("Dateiauswahl");
            // Typed into the name field, as a user would; the dialog's folder list loads on its own.
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString::fromStdString(m_marlo));
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        } else if (auto* selection = qobject_cast<AuswahlIBANDatei*>(modal)) {
            m_seen << QStringLiteral("Auswahl");
            // "Datei direkt auswählen", clicked from the dialog's own event loop: its file dialog is
            // answered by a later turn of this timer, which does not fire while this call runs.
            QMetaObject::invokeMethod(selection->findChild<QPushButton*>(QStringLiteral("Command1_3")), "click",
                                      Qt::QueuedConnection);
        }
    }

    // Answers whatever modal window shows with keys alone, into the control that has the focus:
    // Alt+D in the selection dialog ("Datei direkt auswählen"), the database's path and Enter in
    // the file dialog, Enter (the default button) in a message box.
    std::string m_keyboardDatabase;
    void answerWithKeys()
    {
        QWidget* modal = QApplication::activeModalWidget();
        QWidget* focus = QApplication::focusWidget();
        if (!modal || m_answered.contains(modal) || !focus || focus->window() != modal)
            return;
        m_answered << modal;
        if (qobject_cast<QMessageBox*>(modal)) {
            m_seen << QStringLiteral("Meldung");
            QTest::keyClick(focus, Qt::Key_Return);
        } else if (qobject_cast<QFileDialog*>(modal)) {
            m_seen << QStringLiteral("Dateiauswahl ") + focus->objectName();
            QTest::keyClicks(focus, QString::fromStdString(m_keyboardDatabase));
            QTest::keyClick(focus, Qt::Key_Return);
        } else if (qobject_cast<AuswahlIBANDatei*>(modal)) {
            m_seen << QStringLiteral("Auswahl");
            QTest::keyClick(focus, Qt::Key_D, Qt::AltModifier);
        }
    }

    // Alt and a letter in the main window, once it is the active window again.
    static bool pressAlt(FormAdressen& window, Qt::Key key)
    {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window) || !QApplication::focusWidget())
            return false;
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        return true;
    }


    // As the item view draws a cell: shortened when its text is wider than its room.
    static bool drawnShortened(const AccountGrid& grid, const QModelIndex& index)
    {
        const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
        const QString text = index.data().toString();
        return grid.fontMetrics().elidedText(text, Qt::ElideRight, grid.visualRect(index).width() - 2 * margin) != text;
    }

  private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((m_dir.path() / "config").string()));
        setUpApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        m_marlo = (m_dir.path() / "daten" / demo::kMarloFile).string();
        std::filesystem::create_directories(m_dir.path() / "daten");
        QCOMPARE(demo::writeMarloDatabase(m_marlo, {}), std::string());
    }

    void a_database_chosen_through_auswaehlen_shows_whole_keys_blz_accounts_bics_and_ibans()
    {
        ProgramSession session(ZELVAN_SOURCE_DIR "/data/");
        FormAdressen& window = session.window();
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, &ProgramStartTest::answerModalWindows);
        answering.start(20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY_WITH_TIMEOUT(window.startupDone(), 30000);
        // The designed size: nothing was stored.
        QCOMPARE(window.width(), static_cast<int>(12885.0 / twipsPerPixelX(window)));
        QCOMPARE(window.height(), static_cast<int>(9015.0 / twipsPerPixelY(window)));
        QCOMPARE(window.rows().size(), 0u);
        // The note on the sample bank-code file comes last in the start-up.
        QTRY_COMPARE(m_seen, QStringList{QStringLiteral("Meldung")});
        QTRY_VERIFY(!QApplication::activeModalWidget());
        m_seen.clear();

        window.Command1_Click(FormAdressen::Auswaehlen);
        QCOMPARE(m_seen.join(QLatin1Char(',')), QStringLiteral("Auswahl,Dateiauswahl"));
        QCOMPARE(window.formatFileLine(), QString::fromStdString("Format: Marlo  Datei: " + m_marlo));
        QVERIFY(!window.rows().empty());
        window.Command1_Click(FormAdressen::IbanBicEinsetzen);
        answering.stop();

        const auto* grid = window.findChild<AccountGrid*>(QStringLiteral("TDBGrid1"));
        const QAbstractItemModel& model = *grid->model();
        int ibans = 0;
        for (int row = 0; row < model.rowCount(); ++row) {
            ibans += model.index(row, static_cast<int>(AccountColumn::Iban)).data().toString().isEmpty() ? 0 : 1;
            for (const auto column : {AccountColumn::Key, AccountColumn::Blz, AccountColumn::Account,
                                      AccountColumn::Bic, AccountColumn::Iban}) {
                const QModelIndex index = model.index(row, static_cast<int>(column));
                QVERIFY2(!drawnShortened(*grid, index), qPrintable(index.data().toString()));
            }
        }
        QVERIFY(ibans > 0);
    }

    void the_whole_window_is_used_with_the_keyboard_alone()
    {
        const auto folder = m_dir.path() / "tastatur";
        std::filesystem::create_directories(folder);
        m_keyboardDatabase = (folder / demo::kMarloFile).string();
        QCOMPARE(demo::writeMarloDatabase(m_keyboardDatabase, {}), std::string());
        const int ibansBefore = test::rowsWithIban(m_keyboardDatabase);
        m_seen.clear();
        m_answered.clear();

        ProgramSession session(ZELVAN_SOURCE_DIR "/data/");
        FormAdressen& window = session.window();
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, &ProgramStartTest::answerWithKeys);
        answering.start(20);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY_WITH_TIMEOUT(window.startupDone(), 30000);
        QTRY_COMPARE(m_seen, QStringList{QStringLiteral("Meldung")}); // the note on the sample file
        QTRY_VERIFY(!QApplication::activeModalWidget());
        auto* save = window.findChild<QPushButton*>(QStringLiteral("Command1_2"));

        // Choose: "Auswählen", in the dialog "Datei direkt auswählen", the path typed into the name field.
        QVERIFY(pressAlt(window, Qt::Key_A));
        QTRY_COMPARE(window.formatFileLine(), QString::fromStdString("Format: Marlo  Datei: " + m_keyboardDatabase));
        QCOMPARE(m_seen, (QStringList{"Meldung", "Auswahl", "Dateiauswahl fileNameEdit"}));
        QVERIFY(!window.rows().empty());

        // Convert.
        QVERIFY(pressAlt(window, Qt::Key_I));
        QTRY_VERIFY(save->isEnabled());

        // Save, and confirm the summary with Enter.
        QVERIFY(pressAlt(window, Qt::Key_S));
        QTRY_VERIFY(!save->isEnabled());
        QTRY_COMPARE(m_seen.size(), 4);
        QCOMPARE(m_seen.back(), QStringLiteral("Meldung"));
        QVERIFY(test::rowsWithIban(m_keyboardDatabase) > ibansBefore);

        // End: nothing is unsaved, nothing is asked.
        QVERIFY(pressAlt(window, Qt::Key_E));
        QTRY_VERIFY(!window.isVisible());
        answering.stop();
        QCOMPARE(m_seen.size(), 4);
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::ProgramStartTest)
#include "ProgramStartTest.moc"
