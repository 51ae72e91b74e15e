// Bad input through the commands: each case ends with its exit status and a German message,
// and leaves every file in its folder as it was, with no file added.

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "DemoDatabases.h"
#include "cli/CommandLine.h"
#include "clientdb/AlteredDatabases.h"
#include "clientdb/ReadOnlyFile.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

const std::string kSampleFolder = ZELVAN_SOURCE_DIR "/data/";

// Every file under the folder with a digest of its bytes.
std::map<std::string, std::size_t> snapshot(const fs::path& folder)
{
    std::map<std::string, std::size_t> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) {
            files[entry.path().string()] = 0;
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().string()] = std::hash<std::string>{}(bytes.str());
    }
    return files;
}

std::string writeFile(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string marlo(const fs::path& folder)
{
    const auto path = folder / demo::kMarloFile;
    EXPECT_EQ(demo::writeMarloDatabase(path, {demo::IbanFields::None, 200}), "");
    return path.string();
}

// A bank-code file that is no bank-code file: every byte value, NULs and line ends among them.
std::string binaryContent()
{
    std::string bytes;
    for (int round = 0; round < 64; ++round) {
        for (int value = 0; value < 256; ++value)
            bytes += static_cast<char>((value * 37 + round) & 0xff);
    }
    return bytes;
}

// Three lines of 10 MB each.
std::string hugeLines()
{
    std::string line(10u << 20, 'A');
    return line + "\r\n" + line + "\r\n" + line + "\r\n";
}

// A named pipe with no writer: opening it for reading would wait forever.
std::string fifo(const fs::path& folder)
{
    const auto path = (folder / "blz.txt").string();
    EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
    return path;
}

struct Prepared {
    std::vector<std::string> args;
    // Kept alive while the command runs (a lock, a read-only guard).
    std::shared_ptr<void> hold;
    // Why the case cannot be set up here; the case is skipped.
    std::string skip;
};

struct Case {
    const char* name;
    std::function<Prepared(const fs::path& folder)> prepare;
    int status;
    const char* message; // in standard output or standard error
};

std::vector<std::string> convertMarlo(const fs::path& folder, const std::string& bankFile)
{
    return {"convert", "--format", "1", "--db", marlo(folder), "--bankfile", bankFile, "--protokoll", "alle"};
}

std::vector<std::string> convertFile(const std::string& format, const std::string& database)
{
    return {"convert", "--format", format, "--db", database, "--protokoll", "alle"};
}

const Case kCases[] = {
    // The bank-code file, for iban and for convert.
    {"iban, bank-code file is a folder",
     [](const fs::path& folder) {
         fs::create_directory(folder / "blz");
         return Prepared{{"iban", "--bankfile", (folder / "blz").string()}, {}, {}};
     },
     2, "ist ein Ordner und keine Datei"},
    {"iban, bank-code file is empty",
     [](const fs::path& folder) {
         return Prepared{{"iban", "--bankfile", writeFile(folder / "blz.txt", "")}, {}, {}};
     },
     2, "enthält keine Bankleitzahl im Format der Bundesbank"},
    {"iban, bank-code file is binary",
     [](const fs::path& folder) {
         return Prepared{{"iban", "--bankfile", writeFile(folder / "blz.txt", binaryContent())}, {}, {}};
     },
     2, "\" wird nicht verwendet. Zeile 1 ist "},
    {"iban, bank-code file has 10 MB lines",
     [](const fs::path& folder) {
         return Prepared{{"iban", "--bankfile", writeFile(folder / "blz.txt", hugeLines())}, {}, {}};
     },
     2, "\" wird nicht verwendet. Zeile 1 ist 10485760 Bytes lang statt 174."},
    {"iban, bank-code file is a named pipe",
     [](const fs::path& folder) {
         return Prepared{{"iban", "--bankfile", fifo(folder)}, {}, {}};
     },
     2, "ist keine gewöhnliche Datei"},
    {"iban, bank-code file is a device",
     [](const fs::path&) {
         return Prepared{{"iban", "--bankfile", "/dev/null"}, {}, {}};
     },
     2, "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"/dev/null\" ist keine gewöhnliche Datei."},
    {"convert, bank-code file is a folder",
     [](const fs::path& folder) {
         fs::create_directory(folder / "blz");
         return Prepared{convertMarlo(folder, (folder / "blz").string()), {}, {}};
     },
     2, "ist ein Ordner und keine Datei"},
    {"convert, bank-code file is a named pipe",
     [](const fs::path& folder) {
         return Prepared{convertMarlo(folder, fifo(folder)), {}, {}};
     },
     2, "ist keine gewöhnliche Datei"},
    {"convert, bank-code file is a device",
     [](const fs::path& folder) {
         return Prepared{convertMarlo(folder, "/dev/null"), {}, {}};
     },
     2, "Die Datei \"/dev/null\" ist keine gewöhnliche Datei."},
    {"convert, bank-code file is empty",
     [](const fs::path& folder) {
         return Prepared{convertMarlo(folder, writeFile(folder / "blz.txt", "")), {}, {}};
     },
     2, "enthält keine Bankleitzahl im Format der Bundesbank"},
    {"convert, bank-code file is binary",
     [](const fs::path& folder) {
         return Prepared{convertMarlo(folder, writeFile(folder / "blz.txt", binaryContent())), {}, {}};
     },
     2, "\" wird nicht verwendet. Zeile 1 ist "},
    {"convert, bank-code file has 10 MB lines",
     [](const fs::path& folder) {
         return Prepared{convertMarlo(folder, writeFile(folder / "blz.txt", hugeLines())), {}, {}};
     },
     2, "\" wird nicht verwendet. Zeile 1 ist 10485760 Bytes lang statt 174."},

    // The client database.
    {"database is a folder",
     [](const fs::path& folder) {
         fs::create_directory(folder / "MARL001.MDB");
         return Prepared{convertFile("1", (folder / "MARL001.MDB").string()), {}, {}};
     },
     1, "\" ist keine Datei."},
    {"database is empty",
     [](const fs::path& folder) {
         return Prepared{convertFile("1", writeFile(folder / "MARL001.MDB", "")), {}, {}};
     },
     1, "Die Datei ist leer und keine Datenbank."},
    {"database is cut off in the middle",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         fs::resize_file(path, fs::file_size(path) / 2 + 1000);
         return Prepared{convertFile("1", path), {}, {}};
     },
     1, "Die Datenbankdatei ist beschädigt"},
    {"database is an Access file",
     [](const fs::path& folder) {
         std::string access("\0\1\0\0Standard Jet DB\0", 20);
         access.resize(4096, '\0');
         return Prepared{convertFile("1", writeFile(folder / "MARL001.MDB", access)), {}, {}};
     },
     1, "Die Datei ist eine Access-Datenbank."},
    {"database is read-only",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         auto guard = std::make_shared<test::ReadOnlyFile>(path);
         if (::access(path.c_str(), W_OK) == 0)
             return Prepared{{}, {}, "this user may write to read-only files here"};
         return Prepared{convertFile("1", path), guard, {}};
     },
     1, "\" ist schreibgeschützt."},
    {"database in a read-only folder, fields missing",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         auto guard = std::make_shared<test::ReadOnlyFolder>(folder.string());
         if (!guard->holds())
             return Prepared{{}, {}, "this user may write to read-only folders here"};
         return Prepared{convertFile("1", path), guard, {}};
     },
     1, "/Sicherung_ZELVAN\" für die Sicherungskopie kann nicht angelegt werden: "},
    {"database in a read-only folder, fields missing, without backup",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         auto guard = std::make_shared<test::ReadOnlyFolder>(folder.string());
         if (!guard->holds())
             return Prepared{{}, {}, "this user may write to read-only folders here"};
         auto args = convertFile("1", path);
         args.push_back("--ohne-sicherung");
         return Prepared{args, guard, {}};
     },
     1,
     "\" ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt werden.\n"
     "Die Datenbank ist unverändert."},
    {"database in a read-only folder, fields present",
     [](const fs::path& folder) {
         const auto path = folder / demo::kDorvanFile;
         EXPECT_EQ(demo::writeDorvanDatabase(path, {demo::IbanFields::All}), "");
         auto guard = std::make_shared<test::ReadOnlyFolder>(folder.string());
         if (!guard->holds())
             return Prepared{{}, {}, "this user may write to read-only folders here"};
         return Prepared{convertFile("3", path.string()), guard, {}};
     },
     1, "Beschreibung: Der Ordner \""},
    {"database is locked by another connection",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         return Prepared{convertFile("1", path), std::make_shared<test::LockingConnection>(path), {}};
     },
     1, "Die Datenbank ist von einem anderen Programm gesperrt"},

    // A format that does not match the database's tables.
    {"Galdo format on a Marlo database",
     [](const fs::path& folder) {
         return Prepared{convertFile("4", marlo(folder)), {}, {}};
     },
     1, "Die Tabelle Personal ist nicht vorhanden."},
    {"Tondra format on a Marlo database",
     [](const fs::path& folder) {
         return Prepared{convertFile("2", marlo(folder)), {}, {}};
     },
     1, "Die Tabelle Kunden ist nicht vorhanden."},
    {"Dorvan format on a Marlo database",
     [](const fs::path& folder) {
         return Prepared{convertFile("3", marlo(folder)), {}, {}};
     },
     1, "Die Datenbank passt nicht zum Format Dorvan:\nDer Index OPKontoNr ist in der Tabelle Personenkonten"},
    {"Marlo format on a Galdo database",
     [](const fs::path& folder) {
         const auto path = folder / demo::kGaldoFile;
         EXPECT_EQ(demo::writeGaldoDatabase(path, {}), "");
         return Prepared{convertFile("1", path.string()), {}, {}};
     },
     1, "Die Tabelle Personenkonten ist nicht vorhanden."},

    // The way back.
    {"wiederherstellen with an option given twice",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         return Prepared{{"wiederherstellen", "--format", "1", "--db", path, "--db", path}, {}, {}};
     },
     2, "Die Option --db ist mehrfach angegeben."},
    {"wiederherstellen with a copy of 0 bytes",
     [](const fs::path& folder) {
         const auto copy = writeFile(folder / "MARL001.MDB.2026-12-07_143015", "");
         return Prepared{{"wiederherstellen", "--format", "1", "--db", marlo(folder), "--kopie", copy}, {}, {}};
     },
     2, "Sie ist leer (0 Bytes)."},

    // The drive search.
    {"search in a missing folder",
     [](const fs::path& folder) {
         return Prepared{{"search", "--format", "1", (folder / "fehlt").string()}, {}, {}};
     },
     2, "\" wurde nicht gefunden."},
};

TEST(BadInput, each_case_fails_with_its_status_and_german_message_and_changes_no_file)
{
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        auto prepared = c.prepare(dir.path());
        if (!prepared.skip.empty()) {
            std::cout << "[  SKIPPED ] " << c.name << ": " << prepared.skip << '\n';
            continue;
        }
        const auto before = snapshot(dir.path());

        std::istringstream in("50060400;11404\n");
        std::ostringstream out, err;
        CommandEnvironment env{in, out, err, kSampleFolder};
        const int status = runCommandLine(prepared.args, env);
        prepared.hold.reset();

        EXPECT_EQ(status, c.status) << out.str() << err.str();
        const auto text = out.str() + err.str();
        EXPECT_NE(text.find(c.message), std::string::npos) << text;
        EXPECT_EQ(text.find("Unerwarteter Fehler"), std::string::npos) << text;
        EXPECT_EQ(out.str().find("Insgesamt verarbeitete"), std::string::npos) << text;
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

} // namespace
} // namespace zelvan
