#include "cli/ConvertCommand.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "DemoDatabases.h"
#include "clientdb/AlteredDatabases.h"
#include "clientdb/DemoFiles.h"
#include "clientdb/ReadOnlyFolder.h"
#include "support/DamagedBankFiles.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

using Result = test::CommandResult;

Result runConvert(std::vector<std::string> args)
{
    args.insert(args.begin(), "convert");
    return test::runCommand(args);
}

class ConvertDemo : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(demo::writeDemoDatabases(m_dir.path()), ""); }
    std::string path(const char* name) const { return (m_dir.path() / name).string(); }
    test::TempDir m_dir;
};

TEST_F(ConvertDemo, converts_saves_and_reports_every_format)
{
    struct Case {
        const char* format;
        const char* file;
        std::vector<std::string> extra;
    };
    const Case cases[] = {
        {"1", demo::kMarloFile, {"--protokoll", "alle", "--bankname"}},
        {"2", demo::kTondraFile, {"--protokoll", "hinweise"}},
        {"2", demo::kLinkedTondraFile, {}},
        {"3", demo::kDorvanFile, {"--ohne-iban"}},
        {"4", demo::kGaldoFile, {"--protokoll", "hinweise"}},
        {"4", demo::kGaldoFile, {"--festabzug"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--format", c.format, "--db", path(c.file)};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const auto result = runConvert(args);
        EXPECT_EQ(result.status, 0) << c.file << result.out << result.err;
        // The summary is the last output.
        const auto last = result.out.rfind("Insgesamt verarbeitete Datensätze: ");
        ASSERT_NE(last, std::string::npos) << result.out;
        EXPECT_EQ(result.out.find('\r'), std::string::npos);
        // With the protocol on, it ends with the folder the reports went to.
        const bool protocol = std::find(c.extra.begin(), c.extra.end(), "--protokoll") != c.extra.end();
        const std::string folderLine = "\n\nProtokoll und CSV-Dateien im Ordner: " + m_dir.path().string() + "/\n";
        EXPECT_EQ(result.out.ends_with(folderLine), protocol) << result.out;
    }
    EXPECT_TRUE(std::filesystem::exists(m_dir.path() / "Protokoll_ZELVAN.txt"));
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.path().extension() != ".sha256") // a copy's checksum goes with it
            names.push_back(entry.path().filename().string());
    }
    return names;
}

// A run copies each file it changes once, before the first change: the copy holds the file as it
// was before the run (also without the fields the run added) and is named on standard error.
TEST(ConvertBackup, a_run_leaves_one_copy_of_the_file_it_changed_with_its_content_from_before)
{
    struct Case {
        const char* format;
        const char* file;
        const char* changed;
        std::vector<std::string> extra;
    };
    const Case cases[] = {
        {"1", demo::kMarloFile, demo::kMarloFile, {"--protokoll", "alle"}},
        {"2", demo::kTondraFile, demo::kTondraFile, {}},
        {"2", demo::kLinkedTondraFile, demo::kMarloFile, {}},
        {"3", demo::kDorvanFile, demo::kDorvanFile, {}},
        {"4", demo::kGaldoFile, demo::kGaldoFile, {}},
        {"4", demo::kGaldoFile, demo::kGaldoFile, {"--festabzug"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.format);
        test::TempDir dir;
        ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
        const auto changed = (dir.path() / c.changed).string();
        const auto before = test::contentOf(changed);
        std::vector<std::string> args{"--format", c.format, "--db", (dir.path() / c.file).string()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());

        const auto result = runConvert(args);

        EXPECT_EQ(result.status, 0) << result.out << result.err;
        const auto folder = dir.path() / "Sicherung_ZELVAN";
        const auto copies = filesIn(folder);
        ASSERT_EQ(copies.size(), 1u);
        EXPECT_TRUE(copies[0].starts_with(std::string(c.changed) + ".20")) << copies[0];
        const auto copy = (folder / copies[0]).string();
        EXPECT_EQ(test::contentOf(copy), before);
        EXPECT_NE(test::contentOf(changed), before);
        EXPECT_TRUE(result.err.ends_with("Sicherungskopie: " + copy + "\n")) << result.err;
    }
}

// The Marlo database behind a linked Tondra one already has every field: the save is its first
// change, and it is that file the save copies, not the Tondra one.
TEST(ConvertBackup, a_linked_tondra_save_copies_the_marlo_file)
{
    test::TempDir dir;
    const auto marlo = (dir.path() / demo::kMarloFile).string();
    const auto tondra = (dir.path() / demo::kLinkedTondraFile).string();
    ASSERT_EQ(demo::writeMarloDatabase(marlo, {demo::IbanFields::All}), "");
    ASSERT_EQ(demo::writeLinkedTondraDatabase(tondra, marlo), "");
    const auto before = test::contentOf(marlo);
    const auto tondraBefore = bytesOf(tondra);

    const auto result = runConvert({"--format", "2", "--db", tondra});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    const auto copies = filesIn(dir.path() / "Sicherung_ZELVAN");
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(copies[0].starts_with("MARL001.MDB.20")) << copies[0];
    EXPECT_EQ(test::contentOf((dir.path() / "Sicherung_ZELVAN" / copies[0]).string()), before);
    EXPECT_NE(test::contentOf(marlo), before);
    EXPECT_TRUE(bytesOf(tondra) == tondraBefore);
}

TEST_F(ConvertDemo, without_backup_no_copy_is_made)
{
    const auto result = runConvert({"--format", "1", "--db", path(demo::kMarloFile), "--ohne-sicherung"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "Sicherung_ZELVAN"));
    EXPECT_EQ(result.err.find("Sicherungskopie"), std::string::npos) << result.err;
}

// The first change is adding the fields (Marlo) or the save (Dorvan, which has them all): either
// way a copy that cannot be made stops the run before it, and says why.
TEST_F(ConvertDemo, a_copy_that_cannot_be_made_stops_the_run_and_changes_nothing)
{
    struct Case {
        const char* format;
        const char* file;
        std::string message;
    };
    const auto folder = (m_dir.path() / "Sicherung_ZELVAN").string();
    const std::string reason = "In den Ordner \"" + folder +
                               "\" kann keine Sicherungskopie geschrieben werden: " + test::ReadOnlyFolder::refusal() +
                               ". Ohne "
                               "Sicherungskopie wird die Datenbank nicht geändert.\n";
    const Case cases[] = {
        {"1", demo::kMarloFile,
         "Fehler beim Öffnen der Haupt-Datenbank\n" + path(demo::kMarloFile) + "\nNummer:3040\n" + reason},
        {"3", demo::kDorvanFile,
         "Die Daten konnten nicht gespeichert werden; die Datenbank ist unverändert.\n\nNr: 3040\nBeschreibung: " +
             reason},
    };
    std::filesystem::create_directory(folder);
    const test::ReadOnlyFolder guard(folder);
    if (!guard.holds())
        GTEST_SKIP() << "this machine cannot make a folder unwritable";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto database = path(c.file);
        const auto before = bytesOf(database);

        const auto result = runConvert({"--format", c.format, "--db", database, "--protokoll", "alle"});

        EXPECT_EQ(result.status, 1);
        EXPECT_TRUE(result.out.ends_with(c.message)) << result.out;
        EXPECT_TRUE(bytesOf(database) == before);
        EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "Protokoll_ZELVAN.txt"));
    }
}

TEST_F(ConvertDemo, a_run_on_the_sample_file_says_so)
{
    const auto result = runConvert({"--format", "1", "--db", path(demo::kMarloFile), "--ohne-sicherung"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.\n");
}

TEST_F(ConvertDemo, a_refused_bank_file_stops_before_the_database_is_opened)
{
    const auto damaged =
        test::damagedBankFile("cut to 173 bytes", ZELVAN_SHARED_BANKFILE, ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt");
    const auto bankFile = m_dir.write("blz.txt", damaged.content);
    const auto database = path(demo::kMarloFile);
    const auto before = bytesOf(database);

    const auto result = runConvert({"--format", "1", "--db", database, "--bankfile", bankFile, "--protokoll", "alle"});

    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Die BLZ-Datei \"" + bankFile + "\" wird nicht verwendet. " + damaged.problem + "\n");
    EXPECT_TRUE(bytesOf(database) == before);
    EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "Protokoll_ZELVAN.txt"));
}

TEST_F(ConvertDemo, the_linked_tondra_database_leads_to_the_marlo_one)
{
    const auto result = runConvert({"--format", "2", "--db", path(demo::kLinkedTondraFile)});
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(result.out.starts_with("Die Kundendaten sind mit der Direktverbindung zu Marlo aufgebaut."))
        << result.out;
}

// Runs one statement on the database and gives the first value of its first row.
std::string execute(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW)
            value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        EXPECT_TRUE(rc == SQLITE_ROW || rc == SQLITE_DONE) << sqlite3_errmsg(db);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

TEST_F(ConvertDemo, a_record_that_cannot_be_written_is_named_in_the_summary_and_the_protocol)
{
    const auto database = path(demo::kMarloFile);
    const auto key = execute(database, "SELECT OPKontoNr FROM Personenkonten ORDER BY OPKontoNr LIMIT 1");
    ASSERT_NE(key, "");
    execute(database, "CREATE TRIGGER Gesperrt BEFORE UPDATE ON Personenkonten WHEN old.OPKontoNr = '" + key +
                          "' BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");

    const auto result = runConvert({"--format", "1", "--db", database, "--protokoll", "hinweise"});

    EXPECT_EQ(result.status, 3) << result.out << result.err; // saved, with a row left out
    EXPECT_NE(result.out.find("\nDavon nicht gespeichert: 1\n" + key + ": "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("(gesperrt)."), std::string::npos) << result.out;
    std::ifstream in(m_dir.path() / "Protokoll_ZELVAN.txt", std::ios::binary);
    std::ostringstream protocol;
    protocol << in.rdbuf();
    const auto begin = protocol.str().find("Nicht gespeicherte Daten-Beginn:\r\n");
    ASSERT_NE(begin, std::string::npos) << protocol.str();
    const auto end = protocol.str().find("Nicht gespeicherte Daten-Ende:", begin);
    ASSERT_NE(end, std::string::npos);
    const auto block = protocol.str().substr(begin, end - begin);
    EXPECT_NE(block.find("(gesperrt).  OPKontoNr: " + key + "\r\n"), std::string::npos) << block;
}

TEST_F(ConvertDemo, a_stored_iban_survives_a_conversion_that_ends_with_an_error_hint)
{
    // August's account 1000 fails its bank's check-digit method; its IBAN was typed in by hand.
    const auto database = path(demo::kMarloFile);
    execute(database, "ALTER TABLE Personenkonten ADD COLUMN BankIBAN VARCHAR(34)");
    execute(database, "ALTER TABLE Personenkonten ADD COLUMN BankBIC VARCHAR(11)");
    execute(database, "UPDATE Personenkonten SET BankIBAN = 'DE06100900000000001000', BankBIC = 'HANDDEFFXXX' "
                      "WHERE OPKontoNr = 100");

    const auto result = runConvert({"--format", "1", "--db", database, "--pruefziffer", "--protokoll", "hinweise"});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(execute(database, "SELECT BankIBAN FROM Personenkonten WHERE OPKontoNr = 100"), "DE06100900000000001000");
    EXPECT_EQ(execute(database, "SELECT BankBIC FROM Personenkonten WHERE OPKontoNr = 100"), "HANDDEFFXXX");
    EXPECT_EQ(execute(database, "SELECT IBANKonvertierNr FROM Personenkonten WHERE OPKontoNr = 100"), "10");
    // The errors report lists the row.
    std::ifstream in(m_dir.path() / "KonvertierFehler_ZELVAN.csv", std::ios::binary);
    std::ostringstream errors;
    errors << in.rdbuf();
    EXPECT_NE(errors.str().find("DE06100900000000001000"), std::string::npos) << errors.str();
}

// Names in other scripts and names like formulas, put into a demo database in a folder that the
// reports' code page cannot name.
TEST(ConvertReports, names_are_readable_no_field_is_a_formula_and_the_path_stays_true)
{
    test::TempDir dir;
    const auto folder = dir.path() / "Иванов";
    std::filesystem::create_directory(folder);
    const auto database = (folder / demo::kDorvanFile).string();
    ASSERT_EQ(demo::writeDorvanDatabase(database, {demo::IbanFields::All, 0}), "");
    execute(database, "UPDATE Personenkonten SET OPKontoNr = '=2+2', Suchname = '@SUM(1+1)*cmd|'' /C calc''!A0' "
                      "WHERE OPKontoNr = 30040");
    execute(database,
            "UPDATE Personenkonten SET Suchname = 'YILMAZ Ayşe Gül', BankBLZ = '9999999' WHERE OPKontoNr = 30020");
    execute(database, "UPDATE Personenkonten SET Suchname = 'DVOŘÁK Jiří', BankBLZ = '-2+3' WHERE OPKontoNr = 30005");

    const auto result = runConvert({"--format", "3", "--db", database, "--protokoll", "hinweise"});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(bytesOf((folder / "KonvertierFehler_ZELVAN.csv").string()),
              "OPKontoNr;Suchname;BLZ;KontoNr;BIC;IBAN;Hinweis\r\n"
              "30005;DVOR\xC1K Jir\xED;'-2+3;12345674;;;5-BLZ ist nicht 8-stellig\r\n"
              "30020;YILMAZ Ayse G\xFCl;9999999;2233448;;;5-BLZ ist nicht 8-stellig\r\n"
              "'=2+2;'@SUM(1+1)*cmd|' /C calc'!A0;52410300;998877;HAFRDEFFXXX;;4-BLZ ohne IBAN-Ermittlung");
    const auto protocol = bytesOf((folder / "Protokoll_ZELVAN.txt").string());
    EXPECT_NE(protocol.find("  Datei: " + dir.path().string() + "/" + std::string(6, '?') + "/DORV001.MDB\r\n"),
              std::string::npos);
    EXPECT_NE(protocol.find("Fehlerhinweis: 3\r\nFelder mit Zeichen au\xDF"
                            "erhalb von Windows-1252 umschrieben: 2\r\n\r\n"),
              std::string::npos)
        << protocol;
    EXPECT_EQ(execute(database, "SELECT Suchname FROM Personenkonten WHERE OPKontoNr = 30005"), "DVOŘÁK Jiří");
}

// The protocol of a fresh demo database converted with a bank-code file, without the lines that
// name the file or the time and without the BICs (which the made-up sample file invents).
std::string demoProtocol(const std::filesystem::path& folder, const char* format, const char* file,
                         const std::vector<std::string>& extra)
{
    std::filesystem::create_directories(folder);
    EXPECT_EQ(demo::writeDemoDatabases(folder), "");
    std::vector<std::string> args{"--format", format, "--db", (folder / file).string(), "--protokoll", "alle"};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto result = runConvert(args);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    std::ifstream in(folder / "Protokoll_ZELVAN.txt", std::ios::binary);
    std::string kept, line;
    while (std::getline(in, line)) {
        if (line.starts_with("Format: ") || line.starts_with("Datum/Zeit: "))
            continue;
        if (const auto bic = line.find("BIC: "); bic != std::string::npos)
            line.erase(bic + 5, line.find(' ', bic + 5) - (bic + 5));
        kept += line + "\n";
    }
    return kept;
}

std::size_t occurrences(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The demo banks are real BLZs with their real rules and check-digit methods, so a demo run with
// the Bundesbank's file gives the same IBANs and hints as one with the bundled sample file.
TEST(ConvertDemoBanks, convert_alike_with_the_sample_file_and_the_bundesbank_file)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE))
        GTEST_SKIP() << "no Bundesbank file at " << ZELVAN_SHARED_BANKFILE;
    struct Case {
        const char* format;
        const char* file;
        std::vector<std::string> extra;
    };
    const Case cases[] = {
        {"1", demo::kMarloFile, {}},  {"1", demo::kMarloFile, {"--pruefziffer"}},
        {"2", demo::kTondraFile, {}}, {"2", demo::kTondraFile, {"--pruefziffer"}},
        {"3", demo::kDorvanFile, {}}, {"3", demo::kDorvanFile, {"--pruefziffer"}},
        {"4", demo::kGaldoFile, {}},  {"4", demo::kGaldoFile, {"--festabzug", "--pruefziffer"}},
    };
    test::TempDir dir;
    int run = 0;
    for (const auto& c : cases) {
        auto withRealFile = c.extra;
        withRealFile.insert(withRealFile.end(), {"--bankfile", ZELVAN_SHARED_BANKFILE});
        const auto sample = demoProtocol(dir.path() / std::to_string(++run), c.format, c.file, c.extra);
        const auto real = demoProtocol(dir.path() / std::to_string(++run), c.format, c.file, withRealFile);
        EXPECT_EQ(sample, real) << c.file;
        // Most rows with an account get an IBAN; the others are there to show a hint.
        EXPECT_GT(occurrences(real, "IBAN: DE"), occurrences(real, " Fehler: ")) << real;
        EXPECT_EQ(real.find("3-BLZ ist nicht im Bundesbank-Bestand"), std::string::npos) << real;
    }
}

TEST_F(ConvertDemo, unusable_databases_and_arguments_fail_with_their_status)
{
    const auto text = m_dir.write("TEXT.MDB", "keine Datenbank\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message; // in standard output (message boxes) or standard error
    };
    const Case cases[] = {
        {{"--format", "1", "--db", path("FEHLT.MDB")}, 1, "wurde nicht gefunden"},
        {{"--format", "1", "--db", m_dir.path().string()}, 1, "ist keine Datei"},
        {{"--format", "1", "--db", text}, 1, "Fehler beim Öffnen der Haupt-Datenbank"},
        {{"--format", "1"}, 2, "Die Datenbank fehlt"},
        {{"--db", path(demo::kMarloFile)}, 2, "Das Format fehlt"},
        {{"--format", "1", "--db", path(demo::kMarloFile), "--protokoll", "viel"}, 2, "Ungültiger Wert"},
        {{"--format", "1", "--db", path(demo::kMarloFile), "--bankfile", path("fehlt.txt")},
         2,
         "Die BLZ-Datei kann nicht gelesen werden"},
    };
    for (const auto& c : cases) {
        const auto result = runConvert(c.args);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_NE((result.out + result.err).find(c.message), std::string::npos) << result.out << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(path("FEHLT.MDB")));
}

TEST_F(ConvertDemo, number_typed_strict_and_wal_databases_convert_like_their_text)
{
    struct Case {
        const char* name;
        std::function<void(const std::string&)> alter;
        const char* types; // of BankBLZ and BankKontoNr of 10000 after the save
        const char* rows;  // loaded and saved
    };
    const Case cases[] = {
        {"integer", [](const std::string& f) { ASSERT_EQ(test::retypeMarlo(f, test::NumberCopy::Integer), ""); },
         "integer integer", "9"},
        {"real", [](const std::string& f) { ASSERT_EQ(test::retypeMarlo(f, test::NumberCopy::Real), ""); }, "real real",
         "9"},
        {"strict", [](const std::string& f) { ASSERT_EQ(test::retypeMarlo(f, test::NumberCopy::Strict), ""); },
         "integer integer", "8"},
        {"wal", [](const std::string& f) { ASSERT_EQ(test::runSql(f, "PRAGMA journal_mode = WAL"), ""); }, "text text",
         "9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(demo::writeDemoDatabases(m_dir.path()), "");
        const auto file = path(demo::kMarloFile);
        c.alter(file);
        // Another program holds the database open with a change not yet merged into the file.
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open_v2(file.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        sqlite3_exec(other, "PRAGMA wal_autocheckpoint = 0; UPDATE Personenkonten SET Ort = 'Bonn'", nullptr, nullptr,
                     nullptr);

        const auto result = runConvert({"--format", "1", "--db", file, "--protokoll", "hinweise"});
        sqlite3_close(other);

        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_EQ(execute(file, "SELECT typeof(BankBLZ) || ' ' || typeof(BankKontoNr) || ' ' || BankIBAN FROM "
                                "Personenkonten WHERE OPKontoNr = 10000"),
                  std::string(c.types) + " DE82100100100001234565");
        EXPECT_EQ(execute(file, "SELECT count(*) FROM Personenkonten WHERE BankIBAN IS NOT NULL"), c.rows)
            << result.out;
    }
}

// A dry run of one database converts a copy: the files stay as they were, the reports beside the
// database get "Probelauf_" in front, and a linked Tondra database reports beside its Marlo one.
TEST_F(ConvertDemo, a_dry_run_of_one_database_changes_no_file_and_writes_probelauf_reports)
{
    struct Case {
        const char* format;
        const char* file;
        const char* named; // the database the protocol names
    };
    const Case cases[] = {
        {"1", demo::kMarloFile, demo::kMarloFile},
        {"2", demo::kLinkedTondraFile, demo::kMarloFile},
        {"4", demo::kGaldoFile, demo::kGaldoFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::vector<std::string>> before;
        for (const char* name : {demo::kMarloFile, demo::kLinkedTondraFile, demo::kGaldoFile})
            before.push_back(test::contentOf(path(name)));
        const auto bytesBefore = bytesOf(path(c.file));

        const auto result =
            runConvert({"--format", c.format, "--db", path(c.file), "--probelauf", "--protokoll", "alle"});

        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_NE(result.out.find("Insgesamt verarbeitete Datensätze: "), std::string::npos);
        std::size_t i = 0;
        for (const char* name : {demo::kMarloFile, demo::kLinkedTondraFile, demo::kGaldoFile})
            EXPECT_EQ(test::contentOf(path(name)), before[i++]) << name;
        EXPECT_EQ(bytesOf(path(c.file)), bytesBefore);
        EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "Sicherung_ZELVAN"));
        EXPECT_EQ(result.err.find("Sicherungskopie"), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(m_dir.path() / "Protokoll_ZELVAN.txt"));
        const auto protocol = bytesOf(path("Probelauf_Protokoll_ZELVAN.txt"));
        EXPECT_NE(protocol.find("  Datei: " + path(c.named) + "\r\n"), std::string::npos) << protocol;
        EXPECT_TRUE(result.out.ends_with("Protokoll und CSV-Dateien im Ordner: " + m_dir.path().string() + "/\n"))
            << result.out;
    }
}

// A database left in WAL mode with changes not yet merged into its file: a dry run converts them
// too and leaves the file and its WAL file as they were.
TEST_F(ConvertDemo, a_dry_run_leaves_a_wal_file_and_its_database_as_they_were)
{
    const auto database = path(demo::kMarloFile);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(database.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_db_config(other, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; INSERT INTO Personenkonten "
                           "(OPKontoNr, Suchname, BankBLZ, BankKontoNr) VALUES (77777, 'NEU', '10010010', '1234565')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    ASSERT_TRUE(std::filesystem::exists(database + "-wal"));
    const auto file = bytesOf(database);
    const auto wal = bytesOf(database + "-wal");

    const auto result = runConvert({"--format", "1", "--db", database, "--probelauf"});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("Insgesamt verarbeitete Datensätze: 10"), std::string::npos) << result.out;
    // Compared as a whole: a database file printed byte by byte says nothing.
    EXPECT_TRUE(bytesOf(database) == file);
    EXPECT_TRUE(bytesOf(database + "-wal") == wal);
}

} // namespace
} // namespace zelvan
