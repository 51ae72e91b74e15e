#include "clientdb/BackupRestore.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "clientdb/ClientFormats.h"
#include "clientdb/Database.h"
#include "clientdb/DatabaseBackup.h"
#include "clientdb/FormatCheck.h"
#include "clientdb/SqliteHandles.h"
#include "clientdb/UntouchedRead.h"
#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find_first_of("\r\n"));
}

// The line of a format-check message that names the cause: the first, or where that only leads
// in with a colon, the next.
std::string causeLine(const std::string& text)
{
    const auto first = firstLine(text);
    if (!first.ends_with(':') || first.size() == text.size())
        return first;
    return firstLine(text.substr(first.size() + 1));
}

RestoreOutcome refused(RestoreStatus status, std::string message, std::string copyBefore = {})
{
    return {status, std::move(message) + " Nichts wurde zurückgespielt.", std::move(copyBefore)};
}

// Why a copy that failed its look is not put back.
std::string copyRefusal(const BackupCopy& copy)
{
    const std::string start = "Die Kopie " + quoted(copy.path) + " wird nicht zurückgespielt: ";
    switch (copy.verdict) {
    case CopyVerdict::Empty:
        return start + "Sie ist leer (0 Bytes).";
    case CopyVerdict::ChecksumWrong:
        return start + "Ihr Inhalt stimmt nicht mehr mit ihrer Prüfsumme überein; sie wurde nach der Sicherung "
                       "verändert oder beschädigt.";
    default:
        return start + "Sie ist beschädigt (" + copy.detail + ").";
    }
}

// One number of a PRAGMA on a connection; -1 when it cannot be read, with the result code in `rc`.
long long pragmaNumber(sqlite3* db, const char* pragma, int& rc)
{
    sqlite::Statement statement;
    if (sqlite::prepare(db, pragma, statement)) {
        rc = sqlite3_errcode(db);
        return -1;
    }
    rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW)
        return -1;
    rc = SQLITE_OK;
    return sqlite3_column_int64(statement.get(), 0);
}

bool isBusy(int rc)
{
    return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

std::string inUse(const std::string& database)
{
    return "Die Datenbank " + quoted(database) +
           " wird von einem anderen Programm benutzt. Bitte schließen Sie das andere Programm (auch das "
           "Orvia-Programm) und versuchen Sie es dann noch einmal.";
}

std::string changedMeanwhile(const std::string& database)
{
    return "Ein anderes Programm hat die Datenbank " + quoted(database) +
           " währenddessen geändert. Bitte schließen Sie das andere Programm und versuchen Sie es dann noch einmal.";
}

std::string sqliteText(sqlite3* db, int rc)
{
    return sqliteError(rc, db == nullptr ? nullptr : sqlite3_errmsg(db)).description;
}

} // namespace

RestoreOutcome restoreBackupCopy(const BackupTarget& target, const std::string& copyPath, std::time_t now)
{
    if (!target.error.empty())
        return refused(RestoreStatus::Failed, target.error);
    // The copy is read unlocked, as a file no program writes: never the database itself, nor a copy
    // still being written or left half written by a killed run.
    struct stat copyStatus {};
    struct stat databaseStatus {};
    if (::stat(copyPath.c_str(), &copyStatus) != 0)
        return refused(RestoreStatus::CopyUnusable, "Die Kopie " + quoted(copyPath) +
                                                        " kann nicht gelesen werden: " + systemErrorCause(errno) + ".");
    if (::stat(target.path.c_str(), &databaseStatus) == 0 && copyStatus.st_dev == databaseStatus.st_dev &&
        copyStatus.st_ino == databaseStatus.st_ino)
        return refused(RestoreStatus::CopyUnusable,
                       "Die Kopie " + quoted(copyPath) + " ist die Datenbank selbst und keine Sicherungskopie.");
    if (isBackupLeftover(fs::path(copyPath).filename().string()))
        return refused(RestoreStatus::CopyUnusable, "Die Kopie " + quoted(copyPath) +
                                                        " wird nicht zurückgespielt: Sie ist unfertig, eine "
                                                        "abgebrochene oder noch laufende Sicherung.");
    const auto copy = inspectBackupCopy(copyPath, target.format);
    if (copy.verdict != CopyVerdict::Ok && copy.verdict != CopyVerdict::WithoutChecksum)
        return refused(RestoreStatus::CopyUnusable, copyRefusal(copy));
    long long copyPageSize = 0;
    {
        Database database;
        if (auto error = database.openUnchanging(copyPath))
            return refused(RestoreStatus::CopyUnusable,
                           "Die Kopie " + quoted(copyPath) +
                               " kann nicht gelesen werden: " + firstLine(error.description));
        if (auto error = checkFormatTables(database, target.format, false))
            return refused(RestoreStatus::CopyUnusable,
                           "Die Kopie " + quoted(copyPath) + " ist keine Datenbank im Format " +
                               std::string(formatInfo(target.format).name) + ": " + causeLine(error.description));
        const auto size = database.openRecordset("PRAGMA page_size");
        if (size.ok() && size.value().recordCount() == 1)
            copyPageSize = std::stoll(size.value().value(0, 0));
    }

    // An absolute path keeps SQLite from reading a name beginning with "file:" as a URI.
    std::error_code ec;
    const std::string database = fs::absolute(target.path, ec).string();
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(database.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const Connection to(raw);
    if (rc != SQLITE_OK)
        return refused(RestoreStatus::Failed,
                       "Die Datenbank " + quoted(target.path) + " kann nicht geöffnet werden: " + sqliteText(raw, rc));
    sqlite3_busy_timeout(to.get(), Database::kBusyTimeoutMs);
    const long long versionBefore = pragmaNumber(to.get(), "PRAGMA data_version", rc);
    if (rc != SQLITE_OK)
        return refused(isBusy(rc) ? RestoreStatus::DatabaseBusy : RestoreStatus::Failed,
                       isBusy(rc) ? inUse(target.path)
                                  : "Die Datenbank " + quoted(target.path) +
                                        " kann nicht gelesen werden: " + sqliteText(to.get(), rc));
    if (sqlite3_db_readonly(to.get(), "main") == 1)
        return refused(RestoreStatus::Failed, "Die Datenbank " + quoted(target.path) + " ist schreibgeschützt.");
    const long long pageSize = pragmaNumber(to.get(), "PRAGMA page_size", rc);
    sqlite::Statement mode;
    std::string journalMode;
    if (!sqlite::prepare(to.get(), "PRAGMA journal_mode", mode) && sqlite3_step(mode.get()) == SQLITE_ROW)
        journalMode = sqlite::textOfColumn(mode.get(), 0);
    mode.reset();
    // SQLite cannot change the page size of a database in WAL mode through its online backup.
    if (sqlite::sameName(journalMode, "wal") && copyPageSize != pageSize)
        return refused(RestoreStatus::Failed,
                       "Die Kopie hat Seiten von " + std::to_string(copyPageSize) + " Bytes, die Datenbank " +
                           quoted(target.path) + " im WAL-Modus Seiten von " + std::to_string(pageSize) +
                           " Bytes; so kann SQLite sie nicht zurückspielen. Schalten Sie die Datenbank erst aus "
                           "dem WAL-Modus (PRAGMA journal_mode=DELETE).");

    const auto before = backupDatabaseFile(target.path, now);
    if (!before.ok())
        return refused(RestoreStatus::Failed, before.error);
    if (pragmaNumber(to.get(), "PRAGMA data_version", rc) != versionBefore)
        return refused(rc == SQLITE_OK || isBusy(rc) ? RestoreStatus::DatabaseBusy : RestoreStatus::Failed,
                       changedMeanwhile(target.path), before.copyPath);

    raw = nullptr;
    rc = sqlite3_open_v2(unchangingReadUri(copyPath).c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const Connection from(raw);
    if (rc != SQLITE_OK)
        return refused(RestoreStatus::CopyUnusable,
                       "Die Kopie " + quoted(copyPath) + " kann nicht gelesen werden: " + sqliteText(raw, rc),
                       before.copyPath);
    sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
    if (backup == nullptr)
        return refused(RestoreStatus::Failed,
                       "Die Datenbank " + quoted(target.path) +
                           " kann nicht beschrieben werden: " + sqliteText(to.get(), sqlite3_errcode(to.get())),
                       before.copyPath);
    // One step: the write lock is taken once and every page goes in one transaction.
    const int stepped = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (stepped != SQLITE_DONE || finished != SQLITE_OK) {
        const int failure = stepped != SQLITE_DONE && stepped != SQLITE_OK ? stepped : finished;
        if (isBusy(failure))
            return refused(RestoreStatus::DatabaseBusy, inUse(target.path), before.copyPath);
        return refused(RestoreStatus::Failed,
                       "Die Datenbank " + quoted(target.path) +
                           " kann nicht beschrieben werden: " + sqliteText(to.get(), failure),
                       before.copyPath);
    }
    std::string message = "Die Kopie " + quoted(copyPath) + " ist in die Datenbank " + quoted(target.path) +
                          " zurückgespielt; der Stand davor liegt in " + quoted(before.copyPath) + ".";
    if (copy.verdict == CopyVerdict::WithoutChecksum)
        message += " Die Kopie hatte keine Prüfsumme; die Prüfung der Datenbank durch SQLite fand keinen Fehler.";
    if (pragmaNumber(to.get(), "PRAGMA data_version", rc) != versionBefore) {
        // Another program wrote between the copy of the state before and the put-back: its change is
        // neither in the database now nor in that copy.
        return {RestoreStatus::DatabaseBusy, message + " " + changedMeanwhile(target.path), before.copyPath};
    }
    return {RestoreStatus::Done, message, before.copyPath};
}

} // namespace zelvan
