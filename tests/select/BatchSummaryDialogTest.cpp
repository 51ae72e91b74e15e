#include "select/BatchSummaryDialog.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "batch/SummaryTable.h"
#include "gui/AccessKeys.h"
#include "select/BatchSummaryModel.h"

namespace zelvan {

class BatchSummaryDialogTest : public QObject {
    Q_OBJECT

private:
    static BatchSummary summary()
    {
        BatchSummary made;
        made.lines.push_back({"1", "/kanzlei/MARL001.MDB", "", 8, 6, 1, 1, 0, "/kanzlei/Sicherung_ZELVAN/MARL001.MDB",
                              "gespeichert", false});
        made.lines.push_back({"2", "/kanzlei/MARL002.MDB", "", 0, 0, 0, 0, 0, "",
                              "Die Datenbank ist gesperrt; nicht gespeichert", true});
        made.summaryFile = "/kanzlei/Sammelprotokoll_ZELVAN.csv";
        return made;
    }

    QStringList m_opened;

private slots:
    void init() { m_opened.clear(); }

    void the_table_has_the_headings_and_fields_of_the_summary_file()
    {
        const BatchSummary made = summary();
        BatchSummaryDialog dialog(made, false);
        const BatchSummaryModel& model = dialog.table();
        QAbstractItemModelTester tester(const_cast<BatchSummaryModel*>(&model));
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), int(kSummaryColumnCount));
        for (int c = 0; c < model.columnCount(); ++c) {
            const auto column = static_cast<std::size_t>(c);
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString().toStdString(), summaryHeadings()[column]);
            for (std::size_t r = 0; r < made.lines.size(); ++r)
                QCOMPARE(model.index(int(r), c).data().toString().toStdString(), summaryFields(made.lines[r])[column]);
        }
    }

    void a_failed_database_is_marked_and_its_reason_readable()
    {
        BatchSummaryDialog dialog(summary(), false);
        const BatchSummaryModel& model = dialog.table();
        for (int c = 0; c < model.columnCount(); ++c) {
            QVERIFY(!model.index(0, c).data(Qt::BackgroundRole).isValid());
            QVERIFY(model.index(1, c).data(Qt::BackgroundRole).value<QBrush>().style() != Qt::NoBrush);
            QCOMPARE(model.index(1, c).data(Qt::ToolTipRole).toString(),
                     QStringLiteral("Die Datenbank ist gesperrt; nicht gespeichert"));
        }
        QVERIFY(model.index(1, 9).data(Qt::DecorationRole).isValid());
        QVERIFY(!model.index(0, 9).data(Qt::DecorationRole).isValid());
    }

    void the_text_says_what_was_done_data()
    {
        QTest::addColumn<bool>("dryRun");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<bool>("folderNotRead");
        QTest::addColumn<QString>("text");
        const QString file = QStringLiteral("\nSammelprotokoll: /kanzlei/Sammelprotokoll_ZELVAN.csv");
        const QString saved = QStringLiteral("2 Durchgänge, davon 1 mit Fehler.");
        QTest::newRow("gespeichert") << false << false << false << saved + file;
        QTest::newRow("Ordner nicht lesbar")
            << false << false << true << saved + QStringLiteral(" 1 Ordner konnte nicht durchsucht werden.") + file;
        QTest::newRow("Probelauf")
            << true << false << false
            << QStringLiteral("Probelauf: keine Datenbank wurde verändert. 2 Durchgänge, davon 1 mit Fehler.") + file;
        QTest::newRow("angehalten")
            << false << true << false
            << QStringLiteral("2 Durchgänge, davon 1 mit Fehler. Der Lauf wurde angehalten; die nicht bearbeiteten "
                              "Datenbanken sind unverändert.") +
                   file;
    }

    void the_text_says_what_was_done()
    {
        QFETCH(bool, dryRun);
        QFETCH(bool, stopped);
        QFETCH(bool, folderNotRead);
        QFETCH(QString, text);
        BatchSummary made = summary();
        made.stopped = stopped;
        if (folderNotRead)
            made.lines.push_back({"", "/kanzlei/2013", "", 0, 0, 0, 0, 0, "",
                                  "Ordner nicht lesbar (keine Berechtigung)", true, false, true});
        BatchSummaryDialog dialog(made, dryRun);
        QCOMPARE(dialog.text(), text);
        QCOMPARE(dialog.windowTitle(),
                 dryRun ? QStringLiteral("Zusammenfassung des Probelaufs") : QStringLiteral("Zusammenfassung"));
    }

    void the_buttons_open_the_summary_file_and_its_folder()
    {
        BatchSummaryDialog dialog(summary(), false, nullptr,
                                  [this](const QString& path) { return m_opened << path, true; });
        dialog.findChild<QPushButton*>(QStringLiteral("SammelprotokollOeffnen"))->click();
        dialog.findChild<QPushButton*>(QStringLiteral("OrdnerOeffnen"))->click();
        QCOMPARE(m_opened, (QStringList{"/kanzlei/Sammelprotokoll_ZELVAN.csv", "/kanzlei/"}));
    }

    void a_path_the_system_cannot_open_is_named()
    {
        BatchSummaryDialog dialog(summary(), false, nullptr, [](const QString&) { return false; });
        QString said;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            said = box ? box->text() : QString();
            if (box)
                box->close();
        });
        dialog.findChild<QPushButton*>(QStringLiteral("OrdnerOeffnen"))->click();
        QVERIFY2(said.contains(QStringLiteral("\"/kanzlei/\" nicht öffnen")), qPrintable(said));
    }

    void a_summary_file_not_written_is_named_and_not_offered()
    {
        BatchSummary made = summary();
        made.summaryFileError = "Die Datei \"/kanzlei/Sammelprotokoll_ZELVAN.csv\" konnte nicht geschrieben werden.";
        BatchSummaryDialog dialog(made, false, nullptr, [](const QString&) { return true; });
        QVERIFY(!dialog.findChild<QPushButton*>(QStringLiteral("SammelprotokollOeffnen"))->isEnabled());
        QVERIFY(dialog.text().endsWith(QStringLiteral("\n") + QString::fromStdString(made.summaryFileError)));
    }

    void every_button_has_its_own_access_key()
    {
        BatchSummaryDialog dialog(summary(), false);
        const test::AccessKeys keys = test::accessKeysIn(dialog);
        QCOMPARE(keys.withoutKey, QStringList());
        QCOMPARE(keys.duplicates(), QStringList());
        QCOMPARE(keys.keys, (QStringList{"p", "o", "s"}));
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::BatchSummaryDialogTest)
#include "BatchSummaryDialogTest.moc"
