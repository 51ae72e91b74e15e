#include "clientdb/BackupCopies.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>

#include "clientdb/ClientDatabase.h"
#include "clientdb/ClientFormats.h"
#include "clientdb/Database.h"
#include "clientdb/DatabaseBackup.h"
#include "core/HeldFiles.h"
#include "core/Sha256.h"
#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

struct VerdictWord {
    CopyVerdict verdict;
    std::string_view word;
};

// Verdicts -> the words of the listing's column Prüfung.
constexpr VerdictWord kVerdictWords[] = {
    {CopyVerdict::Ok, "ok"},
    {CopyVerdict::ChecksumWrong, "Prüfsumme falsch"},
    {CopyVerdict::Damaged, "beschädigt"},
    {CopyVerdict::Empty, "leer"},
    {CopyVerdict::WithoutChecksum, "ohne Prüfsumme"},
};

// The length of a SHA-256 in hex digits, the first field of a checksum file.
constexpr std::size_t kHexLength = 64;

// The time stamp of a copy's name after "<file>.": "2026-12-07_143015", perhaps "_2" and more.
// Returns the stamp and the counter, or a counter of 0 when the rest is no such stamp.
std::pair<std::string, int> stampOf(std::string_view rest)
{
    constexpr std::string_view kPattern = "dddd-dd-dd_dddddd";
    if (rest.size() < kPattern.size())
        return {{}, 0};
    for (std::size_t i = 0; i < kPattern.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(rest[i])) != 0;
        if (kPattern[i] == 'd' ? !digit : rest[i] != kPattern[i])
            return {{}, 0};
    }
    const std::string stamp(rest.substr(0, kPattern.size()));
    rest.remove_prefix(kPattern.size());
    if (rest.empty())
        return {stamp, 1};
    if (rest.size() < 2 || rest.size() > 4 || rest[0] != '_' ||
        !std::all_of(rest.begin() + 1, rest.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return {{}, 0};
    return {stamp, std::stoi(std::string(rest.substr(1)))};
}

// "2026-12-07_143015" -> "07.12.2026 14:30:15".
std::string readableTime(const std::string& stamp)
{
    return stamp.substr(8, 2) + "." + stamp.substr(5, 2) + "." + stamp.substr(0, 4) + " " + stamp.substr(11, 2) + ":" +
           stamp.substr(13, 2) + ":" + stamp.substr(15, 2);
}

// The first line of a German error description.
std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

// The records of the format's main table, where the copy has it.
std::optional<long long> recordsIn(const Database& copy, ClientFormat format)
{
    const auto table = formatInfo(format).mainTable;
    if (table.empty() || !copy.tableDef(table).ok())
        return std::nullopt;
    const auto counted = copy.openRecordset("SELECT count(*) FROM [" + std::string(table) + "]");
    if (!counted.ok() || counted.value().recordCount() != 1)
        return std::nullopt;
    return std::stoll(counted.value().value(0, 0));
}

// SQLite's integrity check; returns its first complaint, or empty when it finds none.
std::string integrityComplaint(const Database& copy)
{
    const auto checked = copy.openRecordset("PRAGMA integrity_check(1)");
    if (!checked.ok())
        return firstLine(checked.error().description);
    if (checked.value().recordCount() == 0)
        return "Die Prüfung der Datenbank gibt kein Ergebnis.";
    const auto& answer = checked.value().value(0, 0);
    return answer == "ok" ? std::string() : answer;
}

} // namespace

std::string_view verdictWord(CopyVerdict verdict)
{
    for (const auto& entry : kVerdictWords) {
        if (entry.verdict == verdict)
            return entry.word;
    }
    return {};
}

BackupTarget backupTargetOf(const std::string& databasePath, ClientFormat format)
{
    BackupTarget target{databasePath, format, {}, {}};
    std::error_code ec;
    if (!fs::is_regular_file(databasePath, ec)) {
        target.error = "Die Datenbank \"" + databasePath +
                       (fs::exists(databasePath, ec) ? "\" ist keine Datei." : "\" wurde nicht gefunden.");
        return target;
    }
    if (format != ClientFormat::Tondra)
        return target;
    Database database;
    // Only its link is read: nothing of the database or beside it changes.
    if (auto error = database.openUntouched(databasePath)) {
        target.error =
            "Die Datenbank \"" + databasePath + "\" kann nicht gelesen werden: " + firstLine(error.description);
        return target;
    }
    const auto customers = database.tableDef("Kunden");
    if (customers.ok() && customers.value().isLinked()) {
        target.path = linkedDatabasePath(customers.value().connect, databasePath);
        target.format = ClientFormat::MarloOp;
        target.linkedFrom = databasePath;
    }
    return target;
}

BackupCopy inspectBackupCopy(const std::string& copyPath, ClientFormat format)
{
    BackupCopy copy;
    copy.path = copyPath;
    const auto name = fs::path(copyPath).filename().string();
    // Neither the stamp nor its counter holds a dot.
    const auto dot = name.rfind('.');
    const auto [stamp, counter] =
        stampOf(dot == std::string::npos ? std::string_view() : std::string_view(name).substr(dot + 1));
    if (counter > 0)
        copy.time = readableTime(stamp);
    struct stat status {};
    if (::stat(copyPath.c_str(), &status) != 0) {
        copy.detail = "Sie kann nicht gelesen werden: " + systemErrorCause(errno);
        return copy;
    }
    if (!S_ISREG(status.st_mode)) {
        copy.detail = "Sie ist keine Datei";
        return copy;
    }
    copy.bytes = static_cast<std::uintmax_t>(status.st_size);
    if (copy.bytes == 0) {
        copy.verdict = CopyVerdict::Empty;
        return copy;
    }

    const std::string checksumPath = copyPath + std::string(kChecksumSuffix);
    std::error_code ec;
    const bool hasChecksum = fs::exists(checksumPath, ec);
    if (hasChecksum) {
        std::ifstream in(checksumPath, std::ios::binary);
        std::string expected(kHexLength, '\0');
        in.read(expected.data(), static_cast<std::streamsize>(expected.size()));
        int error = 0;
        const auto actual = sha256OfFile(copyPath, error);
        if (!in || actual.empty() || actual != expected) {
            copy.verdict = CopyVerdict::ChecksumWrong;
            return copy;
        }
    }

    Database database;
    if (auto error = database.openUnchanging(copyPath)) {
        copy.detail = firstLine(error.description);
        return copy;
    }
    if (!hasChecksum) {
        copy.detail = integrityComplaint(database);
        if (!copy.detail.empty())
            return copy;
    }
    copy.verdict = hasChecksum ? CopyVerdict::Ok : CopyVerdict::WithoutChecksum;
    copy.records = recordsIn(database, format);
    return copy;
}

std::vector<BackupCopy> listBackupCopies(const std::string& databasePath, ClientFormat format)
{
    const fs::path database(databasePath);
    const auto folder = database.parent_path() / kBackupFolderName;
    (void)removeLeftovers(folder.string(), isBackupLeftover);

    struct Found {
        std::string stamp;
        int counter;
        std::string path;
    };
    std::vector<Found> found;
    const std::string prefix = database.filename().string() + ".";
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const auto name = entry.path().filename().string();
        if (!name.starts_with(prefix))
            continue;
        auto [stamp, counter] = stampOf(std::string_view(name).substr(prefix.size()));
        if (counter > 0)
            found.push_back({std::move(stamp), counter, entry.path().string()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.counter > b.counter;
    });
    std::vector<BackupCopy> copies;
    for (const auto& copy : found)
        copies.push_back(inspectBackupCopy(copy.path, format));
    return copies;
}

} // namespace zelvan
