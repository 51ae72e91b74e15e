#include "select/AuswahlIBANDatei.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <map>

#include "DemoDatabases.h"
#include "bankdir/BankCodeFile.h"
#include "batch/SummaryTable.h"
#include "gui/GuiTestDoubles.h"
#include "select/BatchDialogs.h"
#include "select/BatchProgressDialog.h"
#include "select/BatchStartDialog.h"
#include "select/BatchSummaryDialog.h"
#include "select/BatchSummaryModel.h"
#include "select/FoundDatabasesModel.h"
#include "support/MarloIbanCount.h"
#include "support/TempDir.h"

namespace zelvan {

namespace fs = std::filesystem;

namespace {

// Start and summary dialogs that answer from a script and record what they were shown.
class ScriptedBatchDialogs final : public BatchDialogs {
public:
    std::optional<bool> confirmStart(QWidget*, const BatchStartInfo& info) override
    {
        starts.push_back(info);
        if (answers.empty())
            return std::nullopt;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void showSummary(QWidget*, const BatchSummary& summary, bool) override { summaries.push_back(summary); }

    std::deque<std::optional<bool>> answers;
    std::vector<BatchStartInfo> starts;
    std::vector<BatchSummary> summaries;
};

// Every client database under the folder with its bytes.
std::map<std::string, std::string> databases(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".MDB")
            files[entry.path().string()] = test::bytesOf(entry.path());
    }
    return files;
}

constexpr const char* kBankFile = ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt";

} // namespace

// "Alle konvertieren..." over a small office folder, with the real core and scripted dialogs.
class AuswahlIBANDateiBatchTest : public QObject {
    Q_OBJECT

private:
    test::TempDir m_dir;
    test::ScriptedFileDialog m_files;
    test::ScriptedUserInterface m_ui;
    ScriptedBatchDialogs m_dialogs;
    BankDirectory m_directory;
    fs::path m_office;
    int m_run = 0;

    // A fresh office of two clients (MARL001.MDB, MARL002.MDB and the other formats) per test.
    fs::path writeOffice(const std::string& name)
    {
        const fs::path folder = m_dir.path() / name;
        [&] { QCOMPARE(demo::writeOfficeDatabases(folder, 2), std::string()); }();
        return folder;
    }

    BatchSetup setup(bool withDirectory = true) const
    {
        BatchSetup batch;
        batch.directory = withDirectory ? &m_directory : nullptr;
        batch.bankFile = kBankFile;
        batch.settings.programFolder = ZELVAN_SOURCE_DIR "/data/";
        return batch;
    }

    std::unique_ptr<AuswahlIBANDatei> searched(const BatchSetup& batch)
    {
        auto dialog = std::make_unique<AuswahlIBANDatei>(
            SelectionStart{ClientFormat::MarloOp, {}, "/opt/zelvan/bin/", batch}, m_files, m_ui);
        dialog->setBatchDialogs(m_dialogs);
        dialog->setDrives({Drive{"Kanzlei", m_office.string()}});
        dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);
        return dialog;
    }

    static QPushButton* alleKonvertieren(AuswahlIBANDatei& dialog)
    {
        return dialog.findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(AuswahlIBANDatei::AlleKonvertieren));
    }

private slots:
    void initTestCase() { QVERIFY(loadBankCodeFile(kBankFile, m_directory).ok); }
    void init()
    {
        m_office = writeOffice("buero" + std::to_string(++m_run));
        m_dialogs = {};
        m_ui = {};
    }

    void alle_konvertieren_waits_for_a_search_that_found_databases()
    {
        auto dialog = std::make_unique<AuswahlIBANDatei>(
            SelectionStart{ClientFormat::MarloOp, {}, "/opt/zelvan/bin/", setup()}, m_files, m_ui);
        dialog->setDrives({Drive{"Kanzlei", m_office.string()}});
        QVERIFY(!alleKonvertieren(*dialog)->isEnabled());
        dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);
        QVERIFY(alleKonvertieren(*dialog)->isEnabled());

        // A search that finds nothing disables it again.
        dialog->setDrives({Drive{"leer", (m_dir.path()).string() + "/gibt-es-nicht"}});
        dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);
        QVERIFY(!alleKonvertieren(*dialog)->isEnabled());

        // Without the main window's bank directory it is never offered.
        auto without = searched(setup(false));
        QVERIFY(without->foundDatabases().rowCount() > 0);
        QVERIFY(!alleKonvertieren(*without)->isEnabled());
    }

    void the_start_dialog_names_count_format_folder_and_bank_file_and_abbrechen_runs_nothing()
    {
        auto dialog = searched(setup());
        const auto before = databases(m_office);
        dialog->Command1_Click(AuswahlIBANDatei::AlleKonvertieren);

        QCOMPARE(m_dialogs.starts.size(), 1u);
        QCOMPARE(m_dialogs.starts.front().databases, 2u);
        QCOMPARE(m_dialogs.starts.front().format, ClientFormat::MarloOp);
        QCOMPARE(m_dialogs.starts.front().folder, m_office.string());
        QCOMPARE(m_dialogs.starts.front().bankFile, std::string(kBankFile));
        QVERIFY(m_dialogs.summaries.empty());
        QCOMPARE(dialog->lastBatch(), nullptr);
        QVERIFY(databases(m_office) == before);
    }

    void an_unusable_bank_file_is_named_and_nothing_runs()
    {
        BatchSetup batch = setup();
        batch.bankFileError = "Die BLZ-Datei \"/x/ZELVANBLZ4.txt\" wurde nicht gefunden.";
        auto dialog = searched(batch);
        dialog->Command1_Click(AuswahlIBANDatei::AlleKonvertieren);
        QVERIFY(m_dialogs.starts.empty());
        QCOMPARE(m_ui.messages.size(), 1u);
        QCOMPARE(m_ui.messages.front().text, batch.bankFileError);
        QCOMPARE(m_ui.messages.front().icon, MessageIcon::Critical);
    }

    void the_real_dialogs_start_a_dry_run_by_default_and_show_its_table()
    {
        auto dialog = std::make_unique<AuswahlIBANDatei>(
            SelectionStart{ClientFormat::MarloOp, {}, "/opt/zelvan/bin/", setup()}, m_files, m_ui);
        dialog->setDrives({Drive{"Kanzlei", m_office.string()}});
        dialog->Command1_Click(AuswahlIBANDatei::LaufwerkDurchsuchen);
        const auto before = databases(m_office);
        QStringList seen;
        int summaryRows = -1;
        QTimer answering;
        connect(&answering, &QTimer::timeout, this, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* start = qobject_cast<BatchStartDialog*>(modal); start && start->isVisible()) {
                seen << QStringLiteral("Start");
                // Starten as it opened: "Nur Probelauf" ticked.
                start->findChild<QPushButton*>(QStringLiteral("Starten"))->click();
            } else if (auto* summary = qobject_cast<BatchSummaryDialog*>(modal); summary && summary->isVisible()) {
                seen << QStringLiteral("Zusammenfassung");
                summaryRows = summary->table().rowCount();
                summary->findChild<QPushButton*>(QStringLiteral("Schliessen"))->click();
            }
        });
        answering.start(20);
        dialog->Command1_Click(AuswahlIBANDatei::AlleKonvertieren);
        answering.stop();

        QCOMPARE(seen, (QStringList{"Start", "Zusammenfassung"}));
        QCOMPARE(summaryRows, 2);
        QVERIFY(databases(m_office) == before);
        const BatchSummary* summary = dialog->lastBatch();
        QVERIFY(summary);
        for (const auto& line : summary->lines) {
            QCOMPARE(line.result, std::string(kDryRunResult));
            QVERIFY(line.ibansFormed > 0);
        }
        QVERIFY(summary->summaryFile.starts_with((m_office / "Probelauf_Sammelprotokoll_ZELVAN_Marlo_").string()));
        QVERIFY(fs::exists(summary->summaryFile));
        // The dialog stays open for the real run, and offers it again.
        QVERIFY(alleKonvertieren(*dialog)->isEnabled());
        QCOMPARE(m_ui.busyDepth, 0);
    }

    void a_real_run_saves_every_database_and_a_second_one_copies_none_again()
    {
        BackupLedger session;
        BatchSetup batch = setup();
        batch.backups = &session;
        batch.settings.overwriteBankName = true;
        batch.settings.protocol = ProtocolOption::HintsOnly;
        auto dialog = searched(batch);
        m_dialogs.answers = {false, false};
        dialog->Command1_Click(AuswahlIBANDatei::AlleKonvertieren);
        QCOMPARE(m_dialogs.summaries.size(), 1u);
        const BatchSummary first = m_dialogs.summaries.front();
        QCOMPARE(first.lines.size(), 2u);
        for (const auto& line : first.lines) {
            QCOMPARE(line.result, std::string(kSaved));
            QVERIFY(test::rowsWithIban(line.file) > 0);
        }
        QVERIFY(first.summaryFile.starts_with((m_office / "Sammelprotokoll_ZELVAN_Marlo_").string()));

        dialog->Command1_Click(AuswahlIBANDatei::AlleKonvertieren);
        QCOMPARE(m_dialogs.summaries.size(), 2u);
        QCOMPARE(session.copies().size(), 2u);
        for (const auto& line : m_dialogs.summaries.back().lines)
            QCOMPARE(line.backupFile, std::string());
    }

    void abbrechen_during_the_first_database_finishes_it_and_leaves_the_others_untouched()
    {
        auto dialog = searched(setup());
        const auto before = databases(m_office);
        QStringList seenWhenStopped;
        m_ui.onEventTurn = [&](int) {
            auto* progress = dialog->findChild<BatchProgressDialog*>();
            if (!progress || !seenWhenStopped.isEmpty() ||
                progress->itemText() != QStringLiteral("Datenbank 1 von 2") ||
                progress->stepText() != QStringLiteral("eingelesen"))
                return;
            QVERIFY(progress->isVisible());
            progress->findChild<QPushButton*>(QStringLiteral("Abbrechen"))->click();
            QVERIFY(progress->stopRequested());
            seenWhenStopped << progress->itemText() << progress->nameText() << progress->stepText();
        };
        m_dialogs.answers = {false};
        dialog->Command1_Click(AuswahlIBANDatei::AlleKonvertieren);

        QCOMPARE(seenWhenStopped.size(), 3);
        QVERIFY(seenWhenStopped[2].endsWith(QString::fromUtf8(BatchProgressDialog::kStopping)));
        QCOMPARE(m_dialogs.summaries.size(), 1u);
        const BatchSummary& summary = m_dialogs.summaries.front();
        QVERIFY(summary.stopped);
        QCOMPARE(summary.lines.size(), 2u);
        QCOMPARE(summary.lines[0].result, std::string(kSaved));
        QCOMPARE(seenWhenStopped[1], QString::fromStdString(summary.lines[0].file));
        QCOMPARE(summary.lines[1].result, std::string("nicht bearbeitet: der Lauf wurde angehalten"));
        QVERIFY(summary.lines[1].failed);
        QVERIFY(batchSummaryText(summary, false).contains(QStringLiteral("davon 0 mit Fehler, 1 nicht bearbeitet.")));
        const auto after = databases(m_office);
        for (const auto& [file, bytes] : before) {
            if (file == summary.lines[0].file)
                QVERIFY(bytes != after.at(file));
            else
                QVERIFY2(bytes == after.at(file), file.c_str());
        }
        // The progress dialog is gone with the run.
        QCOMPARE(dialog->findChild<BatchProgressDialog*>(), nullptr);
    }
};

} // namespace zelvan

QTEST_MAIN(zelvan::AuswahlIBANDateiBatchTest)
#include "AuswahlIBANDateiBatchTest.moc"
