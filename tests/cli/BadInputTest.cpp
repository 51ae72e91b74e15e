// Bad input through the commands: each case ends with its exit status and a German message,
// and leaves every file in its folder as it was, with no file added.

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "DemoDatabases.h"
#include "clientdb/ReadOnlyFolder.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

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

Prepared iban(const std::string& bankFile)
{
    return {{"iban", "--bankfile", bankFile}, {}, {}};
}

Prepared convertMarlo(const fs::path& folder, const std::string& bankFile)
{
    return {{"convert", "--format", "1", "--db", marlo(folder), "--bankfile", bankFile, "--protokoll", "alle"}, {}, {}};
}

Prepared convertFile(const std::string& format, const std::string& database, std::shared_ptr<void> hold = {})
{
    return {{"convert", "--format", format, "--db", database, "--protokoll", "alle"}, std::move(hold), {}};
}

// The database in a folder that this user cannot write to.
Prepared convertInReadOnlyFolder(const fs::path& folder, const std::string& format, const std::string& database,
                                 const char* extra = nullptr)
{
    auto guard = std::make_shared<test::ReadOnlyFolder>(folder.string());
    if (!guard->holds())
        return {{}, {}, "this user may write to read-only folders here"};
    auto prepared = convertFile(format, database, guard);
    if (extra)
        prepared.args.emplace_back(extra);
    return prepared;
}

// Each kind of unusable bank-code file once, through either command: both load it alike.
const Case kCases[] = {
    // The bank-code file.
    {"iban, bank-code file is a folder",
     [](const fs::path& folder) {
         fs::create_directory(folder / "blz");
         return iban((folder / "blz").string());
     },
     2, "ist ein Ordner und keine Datei"},
    {"iban, bank-code file is empty", [](const fs::path& folder) { return iban(writeFile(folder / "blz.txt", "")); }, 2,
     "enthält keine Bankleitzahl im Format der Bundesbank"},
    {"iban, bank-code file has 10 MB lines",
     [](const fs::path& folder) { return iban(writeFile(folder / "blz.txt", hugeLines())); }, 2,
     "\" wird nicht verwendet. Zeile 1 ist 10485760 Bytes lang statt 174."},
    {"iban, bank-code file is a named pipe", [](const fs::path& folder) { return iban(fifo(folder)); }, 2,
     "ist keine gewöhnliche Datei"},
    {"convert, bank-code file is a device", [](const fs::path& folder) { return convertMarlo(folder, "/dev/null"); }, 2,
     "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"/dev/null\" ist keine gewöhnliche Datei."},
    {"convert, bank-code file is binary",
     [](const fs::path& folder) { return convertMarlo(folder, writeFile(folder / "blz.txt", binaryContent())); }, 2,
     "\" wird nicht verwendet. Zeile 1 ist "},

    // The arguments of convert.
    {"convert without database",
     [](const fs::path&) {
         return Prepared{{"convert", "--format", "1"}, {}, {}};
     },
     2, "Die Datenbank fehlt"},
    {"convert with a bad protocol value",
     [](const fs::path& folder) {
         auto prepared = convertFile("1", marlo(folder));
         prepared.args.back() = "viel";
         return prepared;
     },
     2, "Ungültiger Wert"},

    // The client database.
    {"database is missing", [](const fs::path& folder) { return convertFile("1", (folder / "FEHLT.MDB").string()); }, 1,
     "wurde nicht gefunden"},
    {"database is a folder",
     [](const fs::path& folder) {
         fs::create_directory(folder / "MARL001.MDB");
         return convertFile("1", (folder / "MARL001.MDB").string());
     },
     1, "\" ist keine Datei."},
    {"database is empty",
     [](const fs::path& folder) { return convertFile("1", writeFile(folder / "MARL001.MDB", "")); }, 1,
     "Die Datei ist leer und keine Datenbank."},
    {"database is an Access file",
     [](const fs::path& folder) {
         std::string access("\0\1\0\0Standard Jet DB\0", 20);
         access.resize(4096, '\0');
         return convertFile("1", writeFile(folder / "MARL001.MDB", access));
     },
     1, "Die Datei ist eine Access-Datenbank."},
    {"database in a read-only folder, fields missing",
     [](const fs::path& folder) { return convertInReadOnlyFolder(folder, "1", marlo(folder)); }, 1,
     "/Sicherung_ZELVAN\" für die Sicherungskopie kann nicht angelegt werden: "},
    {"database in a read-only folder, fields missing, without backup",
     [](const fs::path& folder) { return convertInReadOnlyFolder(folder, "1", marlo(folder), "--ohne-sicherung"); }, 1,
     "\" ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt werden.\n"
     "Die Datenbank ist unverändert."},
    {"database in a read-only folder, fields present",
     [](const fs::path& folder) {
         const auto path = folder / demo::kDorvanFile;
         EXPECT_EQ(demo::writeDorvanDatabase(path, {demo::IbanFields::All}), "");
         return convertInReadOnlyFolder(folder, "3", path.string());
     },
     1, "Beschreibung: Der Ordner \""},

    // A format that does not match the database's tables.
    {"Dorvan format on a Marlo database", [](const fs::path& folder) { return convertFile("3", marlo(folder)); }, 1,
     "Die Datenbank passt nicht zum Format Dorvan:\nDer Index OPKontoNr ist in der Tabelle Personenkonten"},
    {"Marlo format on a Galdo database",
     [](const fs::path& folder) {
         const auto path = folder / demo::kGaldoFile;
         EXPECT_EQ(demo::writeGaldoDatabase(path, {}), "");
         return convertFile("1", path.string());
     },
     1, "Die Tabelle Personenkonten ist nicht vorhanden."},

    // The way back.
    {"wiederherstellen with an option given twice",
     [](const fs::path& folder) {
         const auto path = marlo(folder);
         return Prepared{{"wiederherstellen", "--format", "1", "--db", path, "--db", path}, {}, {}};
     },
     2, "Die Option --db ist doppelt angegeben."},
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
        const auto before = test::digestsUnder(dir.path());

        const auto result = test::runCommand(prepared.args, "50060400;11404\n");
        prepared.hold.reset();

        EXPECT_EQ(result.status, c.status) << result.out << result.err;
        const auto text = result.out + result.err;
        EXPECT_NE(text.find(c.message), std::string::npos) << text;
        EXPECT_EQ(text.find("Unerwarteter Fehler"), std::string::npos) << text;
        EXPECT_EQ(result.out.find("Insgesamt verarbeitete"), std::string::npos) << text;
        EXPECT_EQ(test::digestsUnder(dir.path()), before);
    }
}

} // namespace
} // namespace zelvan
