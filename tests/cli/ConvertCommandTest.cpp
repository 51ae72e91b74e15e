#include "cli/ConvertCommand.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "DemoDatabases.h"
#include "support/DamagedBankFiles.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result runConvert(std::vector<std::string> args)
{
    args.insert(args.begin(), "convert");
    std::istringstream in;
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, ZELVAN_SOURCE_DIR "/data/"};
    const int status = runCommandLine(args, env);
    return {status, out.str(), err.str()};
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

TEST_F(ConvertDemo, a_run_on_the_sample_file_says_so)
{
    const auto result = runConvert({"--format", "1", "--db", path(demo::kMarloFile)});
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

    EXPECT_EQ(result.status, 0) << result.out << result.err;
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
        {"1", demo::kMarloFile, {}},
        {"1", demo::kMarloFile, {"--pruefziffer"}},
        {"2", demo::kTondraFile, {}},
        {"2", demo::kTondraFile, {"--pruefziffer"}},
        {"3", demo::kDorvanFile, {}},
        {"3", demo::kDorvanFile, {"--pruefziffer"}},
        {"4", demo::kGaldoFile, {}},
        {"4", demo::kGaldoFile, {"--festabzug", "--pruefziffer"}},
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
        {{"--format", "1", "--db", path(demo::kMarloFile), "--bankfile", path("fehlt.txt")}, 2,
         "Die BLZ-Datei kann nicht gelesen werden"},
    };
    for (const auto& c : cases) {
        const auto result = runConvert(c.args);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_NE((result.out + result.err).find(c.message), std::string::npos) << result.out << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(path("FEHLT.MDB")));
}

} // namespace
} // namespace zelvan
