#include "batch/DryRunCopy.h"

#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <system_error>

#include "clientdb/ClientDatabase.h"
#include "clientdb/Database.h"
#include "clientdb/DbError.h"
#include "clientdb/SqliteHandles.h"
#include "clientdb/UntouchedRead.h"
#include "core/HeldFiles.h"
#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

Connection openFile(const std::string& path, int flags, int& rc)
{
    sqlite3* raw = nullptr;
    rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Connection connection(raw);
    if (rc == SQLITE_OK)
        sqlite3_busy_timeout(raw, Database::kBusyTimeoutMs);
    return connection;
}

std::string sqliteText(sqlite3* db, int rc)
{
    return sqliteError(rc, db == nullptr ? nullptr : sqlite3_errmsg(db)).description;
}

std::string notCopied(const std::string& original, const std::string& reason)
{
    return "Für den Probelauf kann keine Kopie der Datenbank \"" + original + "\" angelegt werden: " + reason;
}

// Whether a failed backup step failed in writing the copy rather than in reading the original.
bool writingFailed(int extendedCode)
{
    return extendedCode == SQLITE_FULL || extendedCode == SQLITE_IOERR_WRITE || extendedCode == SQLITE_IOERR_FSYNC ||
           extendedCode == SQLITE_IOERR_TRUNCATE || extendedCode == SQLITE_READONLY;
}

// The system's error number behind a failed write of the copy; SQLite reports a full disk
// without one.
int writeErrorNumber(sqlite3* db, int extendedCode)
{
    if (extendedCode == SQLITE_FULL)
        return ENOSPC;
    const int number = sqlite3_system_errno(db);
    return number != 0 ? number : EIO;
}

} // namespace

DryRunCopy::~DryRunCopy()
{
    if (m_folder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(m_folder, ec);
    // Only once the folder is gone: until then no other run may take it for a leftover.
    if (m_marker >= 0)
        ::close(m_marker);
}

void DryRunCopy::removeLeftovers(const std::filesystem::path& temp)
{
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(temp, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
        const auto& folder = it->path();
        if (!folder.filename().string().starts_with(kDryRunFolderPrefix))
            continue;
        struct stat status {};
        if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid())
            continue;
        // Whoever removes the free marker has the folder to itself; a folder without one is left, as
        // it may be one being made.
        const auto isMarker = [](std::string_view name) { return name == kDryRunMarker; };
        if (zelvan::removeLeftovers(folder.string(), isMarker) == 1) {
            std::error_code removeError;
            std::filesystem::remove_all(folder, removeError);
        }
    }
}

std::string DryRunCopy::make(const std::string& database, ClientFormat format)
{
    std::error_code ec;
    const auto temp = std::filesystem::temp_directory_path(ec);
    if (ec)
        return tempFailure(ec.value());
    removeLeftovers(temp);
    std::string pattern = (temp / (std::string(kDryRunFolderPrefix) + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return tempFailure(errno);
    m_folder = pattern;
    // The marker is made and locked under another name and only then given its own: a run that
    // clears leftovers meanwhile never finds it unlocked and takes the new folder for a killed one's.
    const auto marker = m_folder / kDryRunMarker;
    const auto unnamed = m_folder / (std::string(kDryRunMarker) + ".neu");
    m_marker = createHeldFile(unnamed.string(), 0600);
    if (m_marker < 0 || ::rename(unnamed.c_str(), marker.c_str()) != 0)
        return tempFailure(errno);

    const auto copy = m_folder / std::filesystem::path(database).filename();
    if (auto error = copyFile(database, copy); !error.empty())
        return error;
    if (format == ClientFormat::Tondra)
        return relink(copy.string(), database);
    return {};
}

std::string DryRunCopy::copyFile(const std::string& original, const std::filesystem::path& copy)
{
    int rc = SQLITE_OK;
    const auto from = openFile(untouchedReadUri(original), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, rc);
    if (rc != SQLITE_OK)
        return notCopied(original, sqliteText(from.get(), rc));
    const auto to = openFile(copy.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
    if (rc != SQLITE_OK)
        return tempFailure(writeErrorNumber(to.get(), rc));
    m_copies.emplace_back(copy.string(), original);
    std::unique_ptr<sqlite3_backup, int (*)(sqlite3_backup*)> backup(
        sqlite3_backup_init(to.get(), "main", from.get(), "main"), sqlite3_backup_finish);
    if (!backup)
        return notCopied(original, sqliteText(to.get(), sqlite3_errcode(to.get())));
    rc = sqlite3_backup_step(backup.get(), -1);
    const int finished = sqlite3_backup_finish(backup.release());
    const int failed = rc == SQLITE_DONE || rc == SQLITE_OK ? finished : rc;
    if (failed != SQLITE_OK) {
        const int recorded = sqlite3_extended_errcode(to.get());
        const int extended = (recorded & 0xff) == (failed & 0xff) ? recorded : failed;
        if (writingFailed(extended))
            return tempFailure(writeErrorNumber(to.get(), extended));
        return notCopied(original, sqliteText(to.get(), failed));
    }
    // The copy keeps a rollback journal, whatever mode the original is in: it is no one else's.
    sqlite3_exec(to.get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    return {};
}

// A Tondra copy whose Kunden table is linked: the linked database is copied too, and the copy's
// link names that copy, so that the dry run writes into copies only.
std::string DryRunCopy::relink(const std::string& copy, const std::string& original)
{
    int rc = SQLITE_OK;
    const auto db = openFile(copy, SQLITE_OPEN_READWRITE, rc);
    if (rc != SQLITE_OK)
        return notCopied(original, sqliteText(db.get(), rc));
    sqlite::Statement select;
    // A database without links has no such table: nothing to do.
    if (sqlite::prepare(db.get(), "SELECT Connect FROM LinkedTables WHERE upper(Name) = 'KUNDEN'", select))
        return {};
    if (sqlite3_step(select.get()) != SQLITE_ROW)
        return {};
    const auto linked = linkedDatabasePath(sqlite::textOfColumn(select.get(), 0), original);
    select.reset();

    const auto linkedCopy = m_folder / "verknuepft" / std::filesystem::path(linked).filename();
    std::error_code ec;
    std::filesystem::create_directory(linkedCopy.parent_path(), ec);
    if (auto error = copyFile(linked, linkedCopy); !error.empty())
        return error;
    sqlite::Statement update;
    if (auto error =
            sqlite::prepare(db.get(), "UPDATE LinkedTables SET Connect = ?1 WHERE upper(Name) = 'KUNDEN'", update))
        return notCopied(original, error.description);
    sqlite::bindText(update.get(), 1, ";DATABASE=" + linkedCopy.string());
    if (rc = sqlite3_step(update.get()); rc != SQLITE_DONE)
        return notCopied(original, sqliteText(db.get(), rc));
    return {};
}

std::string DryRunCopy::tempFailure(int errorNumber)
{
    return "Die Probelauf-Kopie in TMPDIR konnte nicht angelegt werden: " + systemErrorCause(errorNumber) + ".";
}

std::string DryRunCopy::originalOf(const std::string& path) const
{
    for (const auto& [copy, original] : m_copies) {
        if (copy == path)
            return original;
    }
    return path;
}

} // namespace zelvan
