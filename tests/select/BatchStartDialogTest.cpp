#include "select/BatchStartDialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include "gui/AccessKeys.h"

namespace zelvan {

class BatchStartDialogTest : public QObject {
    Q_OBJECT

private:
    static BatchStartInfo info(std::size_t databases = 12, ClientFormat format = ClientFormat::MarloOp)
    {
        return {databases, format, "/daten/kanzlei", "/opt/zelvan/bin/ZELVANBLZ4.txt"};
    }

private slots:
    void says_what_will_happen_to_how_many_databases_of_which_format_data()
    {
        QTest::addColumn<int>("databases");
        QTest::addColumn<int>("format");
        QTest::addColumn<bool>("dryRun");
        QTest::addColumn<QString>("text"); // before the bank-code file
        const QString saved = QStringLiteral(" in /daten/kanzlei werden nacheinander konvertiert und gespeichert.");
        QTest::newRow("Marlo") << 12 << 1 << false << QStringLiteral("12 Datenbanken (Marlo)") + saved;
        QTest::newRow("eine") << 1 << 2 << false << QStringLiteral("1 Datenbank (Tondra)") + saved;
        QTest::newRow("Galdo") << 3 << 4 << false
                               << QStringLiteral("3 Datenbanken (Galdo)") + saved +
                                      QStringLiteral("\nJede Datenbank zweimal: Personaldaten, dann Festabzüge.");
        QTest::newRow("Probelauf") << 12 << 1 << true
                                   << QStringLiteral("12 Datenbanken (Marlo) in /daten/kanzlei werden zur Probe in "
                                                     "Kopien konvertiert; die Datenbanken bleiben unverändert.");
    }

    void says_what_will_happen_to_how_many_databases_of_which_format()
    {
        QFETCH(int, databases);
        QFETCH(int, format);
        QFETCH(bool, dryRun);
        QFETCH(QString, text);
        BatchStartDialog dialog(info(static_cast<std::size_t>(databases), static_cast<ClientFormat>(format)));
        dialog.findChild<QCheckBox*>(QStringLiteral("NurProbelauf"))->setChecked(dryRun);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Alle konvertieren"));
        QCOMPARE(dialog.text(), text + QStringLiteral("\n\nBLZ-Datei: /opt/zelvan/bin/ZELVANBLZ4.txt"));
    }

    void nur_probelauf_is_on_when_it_opens()
    {
        BatchStartDialog dialog(info());
        QVERIFY(dialog.findChild<QCheckBox*>(QStringLiteral("NurProbelauf"))->isChecked());
        QVERIFY(dialog.dryRunOnly());
    }

    void starten_accepts_with_the_box_as_ticked_and_abbrechen_rejects()
    {
        BatchStartDialog started(info());
        QVERIFY(started.findChild<QPushButton*>(QStringLiteral("Starten"))->isDefault());
        started.show();
        started.findChild<QCheckBox*>(QStringLiteral("NurProbelauf"))->setChecked(false);
        started.findChild<QPushButton*>(QStringLiteral("Starten"))->click();
        QCOMPARE(started.result(), int(QDialog::Accepted));
        QVERIFY(!started.dryRunOnly());

        BatchStartDialog cancelled(info());
        cancelled.show();
        cancelled.findChild<QPushButton*>(QStringLiteral("Abbrechen"))->click();
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
    }

    void every_control_has_its_own_access_key()
    {
        BatchStartDialog dialog(info());
        const test::AccessKeys keys = test::accessKeysIn(dialog);
        QCOMPARE(keys.withoutKey, QStringList());
        QCOMPARE(keys.duplicates(), QStringList());
        QCOMPARE(keys.keys, (QStringList{"p", "s", "a"}));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::BatchStartDialogTest)
#include "BatchStartDialogTest.moc"
