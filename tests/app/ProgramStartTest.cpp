#include "app/ProgramStart.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include "DemoDatabases.h"
#include "app/AccountGrid.h"
#include "app/FormAdressen.h"
#include "gui/CellToolTip.h"
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
    std::string m_database;
    QStringList m_seen; // the kinds of modal windows answered, in order
    QList<QPointer<QWidget>> m_answered;

    // Answers whatever modal window shows with keys alone, into the control that has the focus:
    // Alt+D in the selection dialog ("Datei direkt auswählen"), the database's path and Enter in
    // the file dialog, Enter (the default button) in a message box.
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
            QTest::keyClicks(focus, QString::fromStdString(m_database));
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

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString((m_dir.path() / "config").string()));
        setUpApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
        m_database = (m_dir.path() / demo::kMarloFile).string();
        QCOMPARE(demo::writeMarloDatabase(m_database, {}), std::string());
    }

    void the_whole_window_is_used_with_the_keyboard_alone()
    {
        const int ibansBefore = test::rowsWithIban(m_database);

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
        QTRY_COMPARE(window.formatFileLine(), QString::fromStdString("Format: Marlo  Datei: " + m_database));
        QCOMPARE(m_seen, (QStringList{"Meldung", "Auswahl", "Dateiauswahl fileNameEdit"}));
        QVERIFY(!window.rows().empty());

        // Convert: key, BLZ, account, BIC and IBAN show whole.
        QVERIFY(pressAlt(window, Qt::Key_I));
        QTRY_VERIFY(save->isEnabled());
        QCOMPARE(test::shortenedContentCell(*window.findChild<AccountGrid*>(QStringLiteral("TDBGrid1"))), QString());

        // Save, and confirm the summary with Enter.
        QVERIFY(pressAlt(window, Qt::Key_S));
        QTRY_VERIFY(!save->isEnabled());
        QTRY_COMPARE(m_seen.size(), 4);
        QCOMPARE(m_seen.back(), QStringLiteral("Meldung"));
        QVERIFY(test::rowsWithIban(m_database) > ibansBefore);

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
