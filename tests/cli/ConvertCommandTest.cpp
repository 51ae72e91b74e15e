#include "cli/ConvertCommand.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "DemoDatabases.h"
#include "clientdb/AlteredDatabases.h"
#include "clientdb/DemoFiles.h"
#include "support/TempDir.h"
#include "support/TemporaryFolder.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using Result = test::CommandResult;

Result runConvert(std::vector<std::string> args)
{
    args.insert(args.begin(), "convert");
    return test::runCommand(args);
}

// Each format converts and ends with its summary; the run copies the file it changes once, before
// the first change (a linked Tondra database writes into its Marlo file), and names the copy.
TEST(ConvertCommand, converts_every_format_and_copies_the_file_it_changes_first)
{
    struct Case {
        const char* format;
        const char* file;
        const char* changed;
        std::vector<std::string> extra;
    };
    const Case cases[] = {
        {"1", demo::kMarloFile, demo::kMarloFile, {"--protokoll", "alle", "--bankname"}},
        {"2", demo::kTondraFile, demo::kTondraFile, {"--protokoll", "hinweise"}},
        {"2", demo::kLinkedTondraFile, demo::kMarloFile, {}},
        {"3", demo::kDorvanFile, demo::kDorvanFile, {"--ohne-iban"}},
        {"4", demo::kGaldoFile, demo::kGaldoFile, {"--protokoll", "hinweise"}},
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
        EXPECT_NE(result.out.rfind("Insgesamt verarbeitete Datensätze: "), std::string::npos) << result.out;
        EXPECT_EQ(result.out.find('\r'), std::string::npos);
        // With the protocol on, the summary ends with the folder the reports went to.
        const bool protocol = std::find(c.extra.begin(), c.extra.end(), "--protokoll") != c.extra.end();
        const auto folderLine = "\n\nProtokoll und CSV-Dateien im Ordner: " + dir.path().string() + "/\n";
        EXPECT_EQ(result.out.ends_with(folderLine), protocol) << result.out;
        EXPECT_EQ(fs::exists(dir.path() / "Protokoll_ZELVAN.txt"), protocol);
        const auto folder = dir.path() / "Sicherung_ZELVAN";
        const auto copies = test::filesIn(folder);
        ASSERT_EQ(copies.size(), 2u);
        EXPECT_TRUE(copies[0].starts_with(std::string(c.changed) + ".20")) << copies[0];
        EXPECT_EQ(copies[1], copies[0] + ".sha256");
        const auto copy = (folder / copies[0]).string();
        EXPECT_EQ(test::contentOf(copy), before);
        EXPECT_NE(test::contentOf(changed), before);
        EXPECT_TRUE(result.err.ends_with("Sicherungskopie: " + copy + "\n")) << result.err;
    }
}

// Number-typed and STRICT fields keep their type where the save leaves BLZ and account as they were;
// a WAL database another program holds open converts with the rows its log holds.
TEST(ConvertCommand, number_typed_strict_and_wal_databases_convert_like_their_text)
{
    struct Case {
        const char* name;
        std::string (*alter)(const std::string& file);
        const char* types; // of BankBLZ and BankKontoNr of 10000 after the save
        const char* rows;  // loaded and saved
    };
    const Case cases[] = {
        {"integer", [](const std::string& f) { return test::retypeMarlo(f, test::NumberCopy::Integer); },
         "integer integer", "9"},
        {"real", [](const std::string& f) { return test::retypeMarlo(f, test::NumberCopy::Real); }, "real real", "9"},
        {"strict", [](const std::string& f) { return test::retypeMarlo(f, test::NumberCopy::Strict); },
         "integer integer", "8"},
        {"wal", [](const std::string& f) { return test::runSql(f, "PRAGMA journal_mode = WAL"); }, "text text", "9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
        const auto file = (dir.path() / demo::kMarloFile).string();
        ASSERT_EQ(c.alter(file), "");
        // Another program holds the database open with a change not yet merged into the file.
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open_v2(file.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        sqlite3_exec(other, "PRAGMA wal_autocheckpoint = 0; UPDATE Personenkonten SET Ort = 'Bonn'", nullptr, nullptr,
                     nullptr);

        const auto result = runConvert({"--format", "1", "--db", file});
        sqlite3_close(other);

        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_EQ(test::valueOf(file, "SELECT typeof(BankBLZ) || ' ' || typeof(BankKontoNr) || ' ' || BankIBAN FROM "
                                      "Personenkonten WHERE OPKontoNr = 10000"),
                  std::string(c.types) + " DE82100100100001234565");
        EXPECT_EQ(test::valueOf(file, "SELECT count(*) FROM Personenkonten WHERE BankIBAN IS NOT NULL"), c.rows);
    }
}

TEST(ConvertCommand, without_backup_no_copy_is_made_and_the_sample_file_is_named)
{
    test::TempDir dir;
    ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
    const auto database = (dir.path() / demo::kMarloFile).string();

    const auto result = runConvert({"--format", "1", "--db", database, "--ohne-sicherung"});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.err, "Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.\n");
    EXPECT_FALSE(fs::exists(dir.path() / "Sicherung_ZELVAN"));
}

// Names in other scripts and names like formulas, put into a demo database in a folder that the
// reports' code page cannot name.
TEST(ConvertCommand, names_are_readable_no_field_is_a_formula_and_the_path_stays_true)
{
    test::TempDir dir;
    const auto folder = dir.path() / "Иванов";
    fs::create_directory(folder);
    const auto database = (folder / demo::kDorvanFile).string();
    ASSERT_EQ(demo::writeDorvanDatabase(database, {demo::IbanFields::All, 0}), "");
    test::executeOn(database,
                    "UPDATE Personenkonten SET OPKontoNr = '=2+2', Suchname = '@SUM(1+1)*cmd|'' /C calc''!A0' "
                    "WHERE OPKontoNr = 30040; UPDATE Personenkonten SET Suchname = 'YILMAZ Ayşe Gül', BankBLZ = "
                    "'9999999' WHERE OPKontoNr = 30020; UPDATE Personenkonten SET Suchname = 'DVOŘÁK Jiří', BankBLZ "
                    "= '-2+3' WHERE OPKontoNr = 30005");

    const auto result = runConvert({"--format", "3", "--db", database, "--protokoll", "hinweise"});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(test::bytesOf(folder / "KonvertierFehler_ZELVAN.csv"),
              "OPKontoNr;Suchname;BLZ;KontoNr;BIC;IBAN;Hinweis\r\n"
              "30005;DVOR\xC1K Jir\xED;'-2+3;12345674;;;5-BLZ ist nicht 8-stellig\r\n"
              "30020;YILMAZ Ayse G\xFCl;9999999;2233448;;;5-BLZ ist nicht 8-stellig\r\n"
              "'=2+2;'@SUM(1+1)*cmd|' /C calc'!A0;52410300;998877;HAFRDEFFXXX;;4-BLZ ohne IBAN-Ermittlung");
    const auto protocol = test::bytesOf(folder / "Protokoll_ZELVAN.txt");
    EXPECT_NE(protocol.find("  Datei: " + dir.path().string() + "/" + std::string(6, '?') + "/DORV001.MDB\r\n"),
              std::string::npos);
    EXPECT_NE(protocol.find("Fehlerhinweis: 3\r\nFelder mit Zeichen au\xDF"
                            "erhalb von Windows-1252 umschrieben: 2\r\n\r\n"),
              std::string::npos)
        << protocol;
    EXPECT_EQ(test::valueOf(database, "SELECT Suchname FROM Personenkonten WHERE OPKontoNr = 30005"), "DVOŘÁK Jiří");
}

// The protocol of a fresh demo database converted with a bank-code file, without the lines that
// name the file or the time and without the BICs (which the made-up sample file invents).
std::string demoProtocol(const fs::path& folder, const char* format, const char* file,
                         const std::vector<std::string>& extra)
{
    fs::create_directories(folder);
    EXPECT_EQ(demo::writeDemoDatabases(folder), "");
    std::vector<std::string> args{"--format", format, "--db", (folder / file).string(), "--protokoll", "alle"};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto result = runConvert(args);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    std::istringstream in(test::bytesOf(folder / "Protokoll_ZELVAN.txt"));
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
TEST(ConvertCommand, demo_banks_convert_alike_with_the_sample_file_and_the_bundesbank_file)
{
    if (!fs::exists(ZELVAN_SHARED_BANKFILE))
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

// A dry run of one database converts a copy: the files stay as they were, no copy is made, the
// reports beside the database get "Probelauf_" in front, and a linked Tondra database reports
// beside its Marlo one.
TEST(ConvertCommand, a_dry_run_of_one_database_changes_no_file_and_writes_probelauf_reports)
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
    test::TempDir dir;
    ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
    const auto path = [&](const char* name) { return (dir.path() / name).string(); };
    const test::TemporaryFolder temporary;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::vector<std::string> before;
        for (const char* name : {demo::kMarloFile, demo::kLinkedTondraFile, demo::kGaldoFile})
            before.push_back(test::bytesOf(path(name)));

        const auto result =
            runConvert({"--format", c.format, "--db", path(c.file), "--probelauf", "--protokoll", "alle"});

        EXPECT_EQ(result.status, 0) << result.out << result.err;
        std::size_t i = 0;
        for (const char* name : {demo::kMarloFile, demo::kLinkedTondraFile, demo::kGaldoFile})
            EXPECT_TRUE(test::bytesOf(path(name)) == before[i++]) << name;
        EXPECT_FALSE(fs::exists(dir.path() / "Sicherung_ZELVAN"));
        EXPECT_EQ(result.err.find("Sicherungskopie"), std::string::npos);
        EXPECT_FALSE(fs::exists(dir.path() / "Protokoll_ZELVAN.txt"));
        const auto protocol = test::bytesOf(path("Probelauf_Protokoll_ZELVAN.txt"));
        EXPECT_NE(protocol.find("  Datei: " + path(c.named) + "\r\n"), std::string::npos) << protocol;
        EXPECT_TRUE(result.out.ends_with("Protokoll und CSV-Dateien im Ordner: " + dir.path().string() + "/\n"))
            << result.out;
    }
}

} // namespace
} // namespace zelvan
