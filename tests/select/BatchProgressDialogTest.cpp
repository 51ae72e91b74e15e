#include "select/BatchProgressDialog.h"

#include <QPushButton>
#include <QTest>

#include "gui/GuiTestDoubles.h"

namespace zelvan {

class BatchProgressDialogTest : public QObject {
    Q_OBJECT

private:
    test::ScriptedUserInterface m_outer;

private slots:
    void init() { m_outer = {}; }

    void abbrechen_asks_for_a_stop_and_says_what_it_waits_for()
    {
        BatchProgressDialog dialog(m_outer);
        dialog.show();
        dialog.showProgress({1, 2, "/daten/MARL001.MDB", "umgewandelt", false});
        QVERIFY(!dialog.stopRequested());
        auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("Abbrechen"));
        QCOMPARE(cancel->text(), QStringLiteral("&Abbrechen"));
        cancel->click();
        QVERIFY(dialog.stopRequested());
        QVERIFY(!cancel->isEnabled());
        const QString stopping = QStringLiteral(
            "Wird angehalten: die Datenbank, die gerade bearbeitet wird, wird noch fertig gespeichert; die übrigen "
            "bleiben unverändert.");
        QCOMPARE(dialog.stepText(), QStringLiteral("umgewandelt\n") + stopping);
        // The next steps keep saying so.
        dialog.showProgress({1, 2, "/daten/MARL001.MDB", "gespeichert", false});
        QCOMPARE(dialog.stepText(), QStringLiteral("gespeichert\n") + stopping);
    }

    void escape_and_the_close_box_ask_for_a_stop_and_keep_the_dialog()
    {
        BatchProgressDialog dialog(m_outer);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.stopRequested());
        QVERIFY(dialog.isVisible());
        BatchProgressDialog closed(m_outer);
        closed.show();
        closed.close();
        QVERIFY(closed.stopRequested());
    }

    void messages_status_and_pointer_go_on_to_the_window()
    {
        BatchProgressDialog dialog(m_outer);
        dialog.setStatusText("Daten werden geschrieben...");
        dialog.setBusy(true);
        const MessageRequest request{"Text", "Titel", MessageButtons::YesNo, MessageIcon::Question, 1};
        m_outer.answers = {MessageAnswer::Yes};
        QCOMPARE(dialog.showMessage(request), MessageAnswer::Yes);
        QCOMPARE(m_outer.statusTexts, std::vector<std::string>{"Daten werden geschrieben..."});
        QCOMPARE(m_outer.busyDepth, 1);
        QCOMPARE(m_outer.messages.size(), 1u);
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::BatchProgressDialogTest)
#include "BatchProgressDialogTest.moc"
