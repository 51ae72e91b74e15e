#include "batch/FolderConversion.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include <gtest/gtest.h>

#include "DemoDatabases.h"
#include "bankdir/BankCodeFile.h"
#include "clientdb/AlteredDatabases.h"
#include "clientdb/DemoFiles.h"
#include "clientdb/ReadOnlyFile.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"
#include "support/TemporaryFolder.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

// The lines of a CR LF text, without their line ends.
std::vector<std::string> crLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const auto end = text.find("\r\n", begin);
        if (end == std::string::npos) {
            lines.push_back(text.substr(begin) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(begin, end - begin));
        begin = end + 2;
    }
    return lines;
}

// The start every run of the fixture is named after.
constexpr const char* kStart = "2026-12-07_233954";

class FolderConversion : public testing::Test {
protected:
    void SetUp() override
    {
        const auto loaded = loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", m_directory);
        ASSERT_TRUE(loaded.ok) << loaded.error;
    }

    BatchSummary run(ClientFormat format, ProtocolOption protocol = ProtocolOption::HintsOnly, bool backups = true,
                     bool dryRun = false)
    {
        BatchOptions options;
        options.format = format;
        options.folder = m_dir.path().string();
        options.settings.protocol = protocol;
        options.settings.programFolder = ZELVAN_SOURCE_DIR "/data/";
        options.backups = backups;
        options.settings.dryRun = dryRun;
        options.started = m_started;
        return convertFolder(options, m_directory, m_ui);
    }
    std::string path(const std::string& relative) const { return (m_dir.path() / relative).string(); }

    test::TempDir m_dir;
    const test::TemporaryFolder m_temporary; // no other process's dry run meets these runs' copies
    std::string m_started = kStart;
    BankDirectory m_directory;
    test::RecordingUserInterface m_ui;
};

TEST_F(FolderConversion, every_database_of_the_format_is_saved_with_its_own_reports)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 5), "");

    const auto summary = run(ClientFormat::MarloOp);

    ASSERT_EQ(summary.lines.size(), 5u);
    for (std::size_t i = 0; i < summary.lines.size(); ++i) {
        const auto& line = summary.lines[i];
        SCOPED_TRACE(line.file);
        const auto number = std::to_string(i + 1);
        const auto group = i < 4 ? "Gruppe01/" : "Gruppe02/";
        EXPECT_EQ(line.client, number);
        EXPECT_EQ(line.file, path(std::string(group) + "MARL00" + number + ".MDB"));
        EXPECT_EQ(line.result, "gespeichert");
        EXPECT_EQ(line.rows, 9);
        EXPECT_EQ(line.ibansFormed, 6);
        EXPECT_EQ(line.conversionHints, 0);
        EXPECT_EQ(line.errorHints, 3);
        EXPECT_EQ(line.rowsNotSaved, 0);
        EXPECT_TRUE(
            line.backupFile.starts_with(path(std::string(group) + "Sicherung_ZELVAN/MARL00" + number + ".MDB.")))
            << line.backupFile;
    }
    // Four databases share Gruppe01: each has its own reports, none the fixed names.
    const auto files = test::filesIn(m_dir.path() / "Gruppe01");
    for (const char* name :
         {"MARL001.MDB_Protokoll_ZELVAN.txt", "MARL002.MDB_Protokoll_ZELVAN.txt", "MARL003.MDB_Protokoll_ZELVAN.txt",
          "MARL004.MDB_Protokoll_ZELVAN.txt", "MARL004.MDB_KonvertierFehler_ZELVAN.csv"})
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
    EXPECT_EQ(std::find(files.begin(), files.end(), "Protokoll_ZELVAN.txt"), files.end());
    EXPECT_NE(test::bytesOf(m_dir.path() / "Gruppe01/MARL003.MDB_Protokoll_ZELVAN.txt")
                  .find("Datei: " + path("Gruppe01/MARL003.MDB")),
              std::string::npos);
    // The other formats of the office are not touched.
    EXPECT_FALSE(fs::exists(m_dir.path() / "Gruppe01/Sicherung_ZELVAN/DORV001.MDB"));
    EXPECT_EQ(summary.summaryFileError, "");
}

// Passes and figures of the two lines: see the summary-file test and the command's.
TEST_F(FolderConversion, a_galdo_database_is_done_twice_with_one_copy_and_reports_of_each_pass)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");

    const auto summary = run(ClientFormat::Galdo);

    ASSERT_EQ(summary.lines.size(), 2u);
    // One copy for the run, named on both lines: it holds the file from before the first pass.
    EXPECT_FALSE(summary.lines[0].backupFile.empty());
    EXPECT_EQ(summary.lines[1].backupFile, summary.lines[0].backupFile);
    EXPECT_EQ(test::filesIn(m_dir.path() / "Gruppe01/Sicherung_ZELVAN").size(), 2u); // one copy and its checksum
    EXPECT_TRUE(fs::exists(m_dir.path() / "Gruppe01/GALD001.MDB_Protokoll_ZELVAN.txt"));
    EXPECT_TRUE(fs::exists(m_dir.path() / "Gruppe01/GALD001.MDB_Festabzug_Protokoll_ZELVAN.txt"));
}

TEST_F(FolderConversion, the_summary_file_has_one_line_per_database_and_pass_in_utf_8_with_cr_lf)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");
    fs::rename(m_dir.path() / "Gruppe01", m_dir.path() / "Иванов;Büro");

    const auto summary = run(ClientFormat::Galdo, ProtocolOption::Off, false);

    // UTF-8 with a byte-order mark, so that the path stays true.
    const auto file = path("Иванов;Büro/GALD001.MDB");
    const auto lines = crLfLines(test::bytesOf(summary.summaryFile));
    const std::vector<std::string> expected{
        "\xEF\xBB\xBFMandant;Datei;Durchgang;Datensätze;IBAN gebildet;mit Konvertierhinweis;mit Fehlerhinweis;nicht "
        "gespeichert;Sicherungskopie;Ergebnis",
        "1;\"" + file + "\";Personaldaten;8;4;0;0;0;;gespeichert",
        "1;\"" + file + "\";Festabzüge;6;5;0;0;0;;gespeichert",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(summary.lines[0].file, file);
    // Without copies and without protocol nothing but the saves happened.
    EXPECT_FALSE(fs::exists(m_dir.path() / "Иванов;Büro/Sicherung_ZELVAN"));
    EXPECT_FALSE(fs::exists(m_dir.path() / "Иванов;Büro/GALD001.MDB_Protokoll_ZELVAN.txt"));
}

TEST_F(FolderConversion, progress_is_reported_after_each_step_and_each_database)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 2), "");

    run(ClientFormat::Dorvan);

    const auto first = path("Gruppe01/DORV001.MDB");
    const auto second = path("Gruppe01/DORV002.MDB");
    struct Expected {
        std::size_t item;
        std::string name;
        std::string step;
        bool done;
    };
    const Expected expected[] = {
        {1, first, "wird bearbeitet", false}, {1, first, "eingelesen", false},   {1, first, "umgewandelt", false},
        {1, first, "gespeichert", false},     {1, first, "gespeichert", true},   {2, second, "wird bearbeitet", false},
        {2, second, "eingelesen", false},     {2, second, "umgewandelt", false}, {2, second, "gespeichert", false},
        {2, second, "gespeichert", true},
    };
    ASSERT_EQ(m_ui.progress.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_ui.progress[i].item, expected[i].item);
        EXPECT_EQ(m_ui.progress[i].itemCount, 2u);
        EXPECT_EQ(m_ui.progress[i].itemName, expected[i].name);
        EXPECT_EQ(m_ui.progress[i].step, expected[i].step);
        EXPECT_EQ(m_ui.progress[i].itemDone, expected[i].done);
    }
}

TEST_F(FolderConversion, a_stop_request_is_honoured_before_the_next_database_and_leaves_it_unchanged)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 3), "");
    const auto before = test::contentOf(path("Gruppe01/MARL002.MDB"));
    m_ui.stopAfterItems = 1;

    const auto summary = run(ClientFormat::MarloOp);

    EXPECT_TRUE(summary.stopped);
    ASSERT_EQ(summary.lines.size(), 3u);
    EXPECT_EQ(summary.lines[0].result, "gespeichert");
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_TRUE(summary.lines[i].failed);
        EXPECT_EQ(summary.lines[i].result, "nicht bearbeitet: der Lauf wurde angehalten");
    }
    EXPECT_EQ(test::contentOf(path("Gruppe01/MARL002.MDB")), before);
    // The stop came while database 1 was shown and was seen when database 2 was named: never opened.
    EXPECT_EQ(m_ui.progress.back().item, 2u);
    EXPECT_EQ(m_ui.progress.back().step, "wird bearbeitet");
    EXPECT_EQ(test::filesIn(m_dir.path() / "Gruppe01/Sicherung_ZELVAN").size(), 2u); // one copy and its checksum
}

TEST_F(FolderConversion, a_summary_file_that_cannot_be_written_is_named)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");
    m_started = "fehlt/2026"; // names a folder that does not exist

    const auto summary = run(ClientFormat::Dorvan);

    EXPECT_TRUE(
        summary.summaryFileError.starts_with("Die Datei \"" + summary.summaryFile + "\" kann nicht geschrieben werden"))
        << summary.summaryFileError;
}

TEST_F(FolderConversion, summaries_of_other_formats_and_of_runs_in_the_same_second_replace_none)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");

    const auto files = {run(ClientFormat::MarloOp).summaryFile, run(ClientFormat::Dorvan).summaryFile,
                        run(ClientFormat::MarloOp).summaryFile, run(ClientFormat::MarloOp, {}, true, true).summaryFile};

    const std::vector<std::string> expected{path("Sammelprotokoll_ZELVAN_Marlo_2026-12-07_233954.csv"),
                                            path("Sammelprotokoll_ZELVAN_Dorvan_2026-12-07_233954.csv"),
                                            path("Sammelprotokoll_ZELVAN_Marlo_2026-12-07_233954_2.csv"),
                                            path("Probelauf_Sammelprotokoll_ZELVAN_Marlo_2026-12-07_233954.csv")};
    EXPECT_EQ(std::vector<std::string>(files), expected);
    for (const auto& file : expected)
        EXPECT_EQ(crLfLines(test::bytesOf(file)).size(), 2u) << file;
}

TEST_F(FolderConversion, a_linked_tondra_database_names_both_files_in_its_reports)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 2), "");
    for (const std::string number : {"1", "2"}) {
        const auto tondra = m_dir.path() / ("Tondra" + number) / "TONDRA.MDB";
        fs::create_directory(tondra.parent_path());
        ASSERT_EQ(demo::writeLinkedTondraDatabase(tondra, path("Gruppe01/MARL00" + number + ".MDB")), "");
        // The rest of an invoicing database, so that the search takes it.
        test::executeOn(tondra.string(),
                        "CREATE TABLE Vorgang (a); CREATE TABLE Vorgangszeilen (a); CREATE TABLE "
                        "RechnungsBuch (a); CREATE TABLE Preisgruppen (a); CREATE TABLE Mengenpreise (a)");
    }

    run(ClientFormat::Tondra);

    for (const char* name :
         {"TONDRA.MDB_MARL001.MDB_Protokoll_ZELVAN.txt", "TONDRA.MDB_MARL002.MDB_Protokoll_ZELVAN.txt"})
        EXPECT_NE(test::bytesOf(m_dir.path() / "Gruppe01" / name).find("Datei: "), std::string::npos) << name;
}

TEST_F(FolderConversion, a_dry_run_changes_no_file_leaves_no_copy_and_predicts_the_real_run)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 5), "");
    const auto damaged = path("Gruppe01/MARL003.MDB");
    fs::resize_file(damaged, fs::file_size(damaged) / 2 + 1000);
    const test::LockingConnection lock(path("Gruppe01/MARL002.MDB"));
    const test::ReadOnlyFile guard(path("Gruppe02/MARL005.MDB"));
    std::ofstream(path("Gruppe02/Sicherung_ZELVAN")) << "keine Sicherung";
    const test::TemporaryFolder temporary;

    for (const auto format : {ClientFormat::MarloOp, ClientFormat::Tondra, ClientFormat::Dorvan, ClientFormat::Galdo}) {
        SCOPED_TRACE(static_cast<int>(format));
        const auto before = test::digestsUnder(m_dir.path(), "Probelauf_");

        const auto dry = run(format, ProtocolOption::AllData, true, true);

        EXPECT_EQ(test::digestsUnder(m_dir.path(), "Probelauf_"), before);
        EXPECT_TRUE(temporary.empty());
        EXPECT_TRUE(dry.summaryFile.starts_with(path("Probelauf_Sammelprotokoll_ZELVAN_")));
        EXPECT_TRUE(fs::exists(dry.summaryFile));

        const auto real = run(format, ProtocolOption::AllData);

        ASSERT_EQ(dry.lines.size(), format == ClientFormat::Galdo ? 10u : 5u);
        ASSERT_EQ(real.lines.size(), dry.lines.size());
        for (std::size_t i = 0; i < real.lines.size(); ++i) {
            const auto& predicted = dry.lines[i];
            const auto& done = real.lines[i];
            SCOPED_TRACE(done.file + " " + done.pass);
            EXPECT_EQ(predicted.client, done.client);
            EXPECT_EQ(predicted.file, done.file);
            EXPECT_EQ(predicted.pass, done.pass);
            EXPECT_EQ(predicted.rows, done.rows);
            EXPECT_EQ(predicted.ibansFormed, done.ibansFormed);
            EXPECT_EQ(predicted.conversionHints, done.conversionHints);
            EXPECT_EQ(predicted.errorHints, done.errorHints);
            EXPECT_EQ(predicted.rowsNotSaved, done.rowsNotSaved);
            EXPECT_EQ(predicted.failed, done.failed);
            EXPECT_EQ(predicted.backupFile, "");
            EXPECT_EQ(done.backupFile.empty(), done.failed) << done.result;
            EXPECT_EQ(predicted.result == "Probelauf", done.result == "gespeichert") << predicted.result;
            if (predicted.failed) {
                EXPECT_NE(done.result.find(predicted.result), std::string::npos) << predicted.result;
            }
        }
        if (format == ClientFormat::MarloOp) {
            // Each database that failed is named with its reason; no message box stopped the run.
            EXPECT_EQ(real.lines[1].result, "Fehler beim Öffnen der Haupt-Datenbank " + path("Gruppe01/MARL002.MDB") +
                                                " Nummer:5 Die Datenbank ist von einem anderen Programm gesperrt.");
            EXPECT_TRUE(real.lines[2].result.starts_with("Fehler beim Öffnen der Haupt-Datenbank " + damaged +
                                                         " Nummer:11 Die Datenbankdatei ist beschädigt"))
                << real.lines[2].result;
            EXPECT_EQ(real.lines[4].result, "Die Datenbank \"" + path("Gruppe02/MARL005.MDB") +
                                                "\" ist schreibgeschützt. Sie wird nicht umgewandelt; nichts wurde "
                                                "geändert.");
            EXPECT_TRUE(m_ui.messages.empty());
        }
        // The dry run's protocol lies beside the database and names it, not its copy.
        const auto& first = real.lines.front();
        if (!first.failed) {
            const auto name = fs::path(first.file).filename().string();
            const auto protocol =
                test::bytesOf(fs::path(first.file).parent_path() / ("Probelauf_" + name + "_Protokoll_ZELVAN.txt"));
            EXPECT_NE(
                protocol.find("  Datei: " + first.file + "\r\nProbelauf: die Datenbank wurde nicht ver\xE4ndert."),
                std::string::npos)
                << protocol;
            const auto realProtocol =
                test::bytesOf(fs::path(first.file).parent_path() / (name + "_Protokoll_ZELVAN.txt"));
            EXPECT_EQ(realProtocol.substr(realProtocol.find("Anzahl")), protocol.substr(protocol.find("Anzahl")));
        }
    }
}

// A WAL database another program holds open with a change not yet merged, a WAL database no one
// holds, and one whose journal tells of a change a program left half done: the dry run reads the
// first two without changing a byte of any file and names the third; the real run plays it back.
TEST_F(FolderConversion, a_dry_run_changes_no_byte_of_wal_and_journal_files_and_names_an_interrupted_change)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 3), "");
    const auto held = path("Gruppe01/MARL001.MDB");
    const auto hot = path("Gruppe01/MARL003.MDB");
    for (const auto& file : {held, path("Gruppe01/MARL002.MDB"), path("Gruppe01/TONDRA002.MDB")})
        ASSERT_EQ(test::runSql(file, "PRAGMA journal_mode=WAL"), "");
    {
        const test::TempDir aside;
        sqlite3* db = nullptr;
        sqlite3_open_v2(hot.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        ASSERT_EQ(sqlite3_exec(db,
                               "PRAGMA cache_size=1; BEGIN; UPDATE Personenkonten SET Name1 = printf('%.3000c', 'x')",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        fs::copy_file(hot, aside.path() / "db");
        fs::copy_file(hot + "-journal", aside.path() / "journal");
        sqlite3_close(db);
        fs::copy_file(aside.path() / "db", hot, fs::copy_options::overwrite_existing);
        fs::copy_file(aside.path() / "journal", hot + "-journal");
    }
    const test::OtherProgram other(held,
                                   "PRAGMA wal_autocheckpoint=0; INSERT INTO Personenkonten (OPKontoNr, "
                                   "Suchname, BankBLZ, BankKontoNr) VALUES (77777, 'NEU', '10010010', '1234565')");
    ASSERT_TRUE(other.ran());
    const auto before = test::digestsUnder(m_dir.path(), "Probelauf_");

    const auto dry = run(ClientFormat::MarloOp, ProtocolOption::Off, true, true);
    run(ClientFormat::Tondra, ProtocolOption::Off, true, true);

    EXPECT_EQ(test::digestsUnder(m_dir.path(), "Probelauf_"), before);
    ASSERT_EQ(dry.lines.size(), 3u);
    EXPECT_EQ(dry.lines[0].rows, 10) << dry.lines[0].result;
    EXPECT_EQ(dry.lines[1].result, "Probelauf");
    EXPECT_EQ(dry.lines[2].result, "Eine unterbrochene Änderung eines anderen Programms liegt vor (Journal-Datei); "
                                   "bitte zuerst das Programm öffnen, das die Datenbank bearbeitet.");

    const auto real = run(ClientFormat::MarloOp, ProtocolOption::Off);

    EXPECT_EQ(real.lines[0].rows, 10);
    EXPECT_EQ(real.lines[2].result,
              "gespeichert; eine unterbrochene Änderung eines anderen Programms wurde zurückgenommen");
    EXPECT_FALSE(fs::exists(hot + "-journal"));
}

TEST_F(FolderConversion, a_dry_run_names_a_folder_that_takes_no_backup_as_the_real_run_does)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");
    const test::ReadOnlyFolder guard(path("Gruppe01"));
    if (!guard.holds())
        GTEST_SKIP() << "this machine allows no folder that its user cannot write to";

    const auto dry = run(ClientFormat::MarloOp, ProtocolOption::HintsOnly, true, true);
    const auto real = run(ClientFormat::MarloOp, ProtocolOption::HintsOnly);

    ASSERT_EQ(dry.lines.size(), 1u);
    EXPECT_TRUE(dry.lines[0].failed);
    EXPECT_EQ(dry.lines[0].result,
              "Der Ordner \"" + path("Gruppe01/Sicherung_ZELVAN") +
                  "\" für die Sicherungskopie kann nicht angelegt werden: " + test::ReadOnlyFolder::refusal() +
                  ". Ohne Sicherungskopie wird die Datenbank nicht geändert.");
    EXPECT_NE(real.lines[0].result.find(dry.lines[0].result), std::string::npos) << real.lines[0].result;
}

// A temporary folder without room for the copy, or for the changes the conversion makes in it.
TEST_F(FolderConversion, a_full_temporary_folder_is_named_as_the_fault_of_the_dry_run_copy)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");
    const auto copySize = fs::file_size(path("Gruppe01/MARL001.MDB"));
    for (const std::uintmax_t room : {std::uintmax_t{0}, copySize + 4096}) {
        const test::TemporaryFolder temporary(room);
        if (!temporary.full())
            GTEST_SKIP() << "a small file system for TMPDIR can only be mounted by root";
        const auto before = test::digestsUnder(m_dir.path(), "Probelauf_");

        const auto dry = run(ClientFormat::MarloOp, ProtocolOption::Off, true, true);

        EXPECT_EQ(test::digestsUnder(m_dir.path(), "Probelauf_"), before);
        ASSERT_EQ(dry.lines.size(), 1u);
        EXPECT_EQ(dry.lines[0].result, "Die Probelauf-Kopie in TMPDIR konnte nicht angelegt werden: Der Datenträger "
                                       "ist voll (Fehler 28).")
            << room;
    }
}

} // namespace
} // namespace zelvan
