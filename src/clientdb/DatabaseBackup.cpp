#include "clientdb/DatabaseBackup.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>

#include "clientdb/DbError.h"
#include "clientdb/SqliteHandles.h"
#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

// More copies of one file within one second than this are refused: that is a loop gone wrong.
constexpr int kMaxCounter = 999;
// Waiting for a program that is just committing, as the database layer waits.
constexpr int kBusyTimeoutMs = 5000;
// A copy in the making carries this behind its final name.
constexpr std::string_view kUnfinishedSuffix = ".unfertig";

// The cause of a failed system call as a sentence of its own.
std::string systemText(int number)
{
    return systemErrorCause(number) + ".";
}

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

std::string folderFailure(const std::string& folder, int number)
{
    return "In den Ordner " + quoted(folder) + " kann keine Sicherungskopie geschrieben werden: " + systemText(number);
}

std::string copyFailure(const std::string& folder, const std::string& reason)
{
    return "Die Sicherungskopie in " + quoted(folder) + " kann nicht geschrieben werden: " + reason;
}

// The folder: whoever may read or write the file may enter the folder and read or write in it;
// its owner always may.
mode_t folderModeFor(mode_t fileMode)
{
    mode_t mode = S_IRWXU;
    for (const int shift : {3, 0}) {
        const mode_t bits = (fileMode >> shift) & (S_IROTH | S_IWOTH);
        if (bits != 0)
            mode |= (bits | S_IXOTH) << shift;
    }
    return mode;
}

// Gives what `fd` names the database's owner (where allowed: root) and group (where allowed: a
// member), and `mode` plus `whileWriting`. A group it could not be given gets no rights: the copy
// is never open to people the database is closed to. Returns the mode to keep, or -1.
int takeOverPermissions(int fd, const struct stat& database, mode_t mode, mode_t whileWriting = 0)
{
    if (::geteuid() == 0)
        (void)::fchown(fd, database.st_uid, database.st_gid);
    else
        (void)::fchown(fd, static_cast<uid_t>(-1), database.st_gid);
    struct stat own {};
    if (::fstat(fd, &own) != 0)
        return -1;
    if (own.st_gid != database.st_gid)
        mode &= ~static_cast<mode_t>(S_IRWXG);
    return ::fchmod(fd, mode | whileWriting) == 0 ? static_cast<int>(mode) : -1;
}

// The files of one copy in the making; whatever is left of them at the end goes.
class CopyFiles {
public:
    ~CopyFiles()
    {
        if (!m_unfinished.empty())
            (void)::unlink(m_unfinished.c_str());
        if (!m_reserved.empty())
            (void)::unlink(m_reserved.c_str());
        if (m_folderCreated)
            (void)::rmdir(m_folder.c_str()); // only while empty
    }

    void folderCreated(std::string folder)
    {
        m_folder = std::move(folder);
        m_folderCreated = true;
    }
    void reserved(std::string path) { m_reserved = std::move(path); }
    void unfinished(std::string path) { m_unfinished = std::move(path); }
    // The copy is complete under its name: nothing is removed.
    void keep()
    {
        m_unfinished.clear();
        m_reserved.clear();
        m_folderCreated = false;
    }

private:
    std::string m_folder;
    bool m_folderCreated = false;
    std::string m_reserved;
    std::string m_unfinished;
};

// An open file descriptor, closed when it goes.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    explicit operator bool() const { return m_fd >= 0; }
    int get() const { return m_fd; }

private:
    int m_fd;
};

// The folder beside the database, made when missing. Returns the failure, or an empty text.
std::string prepareFolder(const std::string& folder, const struct stat& database, CopyFiles& files)
{
    const mode_t mode = folderModeFor(database.st_mode);
    if (::mkdir(folder.c_str(), mode & S_IRWXU) == 0) {
        files.folderCreated(folder);
        const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd || takeOverPermissions(fd.get(), database, mode) < 0)
            return folderFailure(folder, errno);
        return {};
    }
    const int number = errno;
    struct stat existing {};
    if (number != EEXIST)
        return "Der Ordner " + quoted(folder) +
               " für die Sicherungskopie kann nicht angelegt werden: " + systemText(number);
    if (::stat(folder.c_str(), &existing) != 0 || !S_ISDIR(existing.st_mode))
        return quoted(folder) + " ist kein Ordner; dort kann keine Sicherungskopie angelegt werden.";
    return {};
}

// Takes the first free name of the copy by creating it empty; the finished copy replaces it.
std::string reserveName(const std::string& folder, const std::string& fileName, mode_t mode, std::time_t now,
                        CopyFiles& files, std::string& failure)
{
    std::tm local{};
    ::localtime_r(&now, &local);
    for (int counter = 1; counter <= kMaxCounter; ++counter) {
        const std::string path = (fs::path(folder) / backupFileName(fileName, local, counter)).string();
        const FileDescriptor fd(
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & (S_IRUSR | S_IWUSR)));
        if (fd) {
            files.reserved(path);
            return path;
        }
        if (errno != EEXIST) {
            failure = folderFailure(folder, errno);
            return {};
        }
    }
    failure = folderFailure(folder, EEXIST);
    return {};
}

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;

struct BackupFinisher {
    void operator()(sqlite3_backup* backup) const { sqlite3_backup_finish(backup); }
};

std::string sqliteText(sqlite3* db, int rc)
{
    return sqliteError(rc, db == nullptr ? nullptr : sqlite3_errmsg(db)).description;
}

// Runs SQL without values; SQLite's result code.
int run(sqlite3* db, const char* sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// Copies every page of the source into the (empty) destination file while holding one read
// transaction on the source. Returns the failure, or an empty text.
std::string copyPages(const std::string& source, const std::string& destination, const std::string& folder)
{
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(source.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    const Connection from(raw);
    if (rc != SQLITE_OK)
        return "Die Datenbank " + quoted(source) +
               " kann für die Sicherungskopie nicht gelesen werden: " + sqliteText(raw, rc);
    sqlite3_busy_timeout(from.get(), kBusyTimeoutMs);
    // The read transaction takes the shared lock now, waiting for a program that is committing.
    sqlite::Statement probe;
    if (auto error = sqlite::prepare(from.get(), "SELECT count(*) FROM sqlite_schema", probe))
        return "Die Datenbank " + quoted(source) +
               " kann für die Sicherungskopie nicht gelesen werden: " + error.description;
    if (rc = run(from.get(), "BEGIN"); rc == SQLITE_OK)
        rc = sqlite3_step(probe.get()) == SQLITE_ROW ? SQLITE_OK : sqlite3_errcode(from.get());
    probe.reset();
    if (rc != SQLITE_OK)
        return "Die Datenbank " + quoted(source) +
               " kann für die Sicherungskopie nicht gelesen werden: " + sqliteText(from.get(), rc);

    raw = nullptr;
    rc = sqlite3_open_v2(destination.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const Connection to(raw);
    if (rc != SQLITE_OK)
        return copyFailure(folder, sqliteText(raw, rc));
    // The copy is not a database in use: a broken-off copy is thrown away, it needs no journal.
    (void)run(to.get(), "PRAGMA journal_mode=OFF");
    std::unique_ptr<sqlite3_backup, BackupFinisher> backup(sqlite3_backup_init(to.get(), "main", from.get(), "main"));
    if (!backup)
        return copyFailure(folder, sqliteText(to.get(), sqlite3_errcode(to.get())));
    rc = sqlite3_backup_step(backup.get(), -1);
    const int finished = sqlite3_backup_finish(backup.release());
    if (rc != SQLITE_DONE)
        return copyFailure(folder, sqliteText(to.get(), rc == SQLITE_OK ? finished : rc));
    if (finished != SQLITE_OK)
        return copyFailure(folder, sqliteText(to.get(), finished));
    (void)run(from.get(), "COMMIT");
    return {};
}

// Writes the finished copy through to the disk.
bool syncFile(const std::string& path, int flags)
{
    const FileDescriptor fd(::open(path.c_str(), flags | O_CLOEXEC));
    return fd && ::fsync(fd.get()) == 0;
}

} // namespace

std::string backupFileName(std::string_view databaseFileName, const std::tm& localTime, int counter)
{
    char stamp[32] = {};
    const auto length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H%M%S", &localTime);
    std::string name = std::string(databaseFileName) + "." + std::string(stamp, length);
    if (counter > 1)
        name += "_" + std::to_string(counter);
    return name;
}

BackupResult backupDatabaseFile(const std::string& databasePath, std::time_t now)
{
    BackupResult result;
    std::error_code ec;
    // An absolute path keeps SQLite from reading a name beginning with "file:" as a URI.
    const fs::path database = fs::absolute(databasePath, ec);
    struct stat status {};
    const std::string unreadable =
        "Die Datenbank " + quoted(databasePath) + " kann für die Sicherungskopie nicht gelesen werden: ";
    if (ec || ::stat(database.c_str(), &status) != 0) {
        result.error = unreadable + systemText(ec ? ec.value() : errno);
        return result;
    }
    if (!S_ISREG(status.st_mode)) {
        result.error = unreadable + "Sie ist keine Datei.";
        return result;
    }
    const std::string folder = (database.parent_path() / kBackupFolderName).string();
    const mode_t mode = status.st_mode & (S_IRWXU | S_IRWXG | S_IRWXO);

    CopyFiles files;
    if (result.error = prepareFolder(folder, status, files); !result.error.empty())
        return result;
    const std::string target = reserveName(folder, database.filename().string(), mode, now, files, result.error);
    if (target.empty())
        return result;

    // The copy is made under another name, its permissions set before the first byte is written.
    const std::string unfinished = target + std::string(kUnfinishedSuffix);
    int kept = -1;
    {
        const FileDescriptor fd(::open(unfinished.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & S_IRWXU));
        if (!fd) {
            result.error = folderFailure(folder, errno);
            return result;
        }
        files.unfinished(unfinished);
        // SQLite opens it by name: a user other than root needs to read and write it until it is
        // done, also where the database has no such bits for its owner.
        kept = takeOverPermissions(fd.get(), status, mode, ::geteuid() == 0 ? 0 : S_IRUSR | S_IWUSR);
        if (kept < 0) {
            result.error = folderFailure(folder, errno);
            return result;
        }
    }
    if (result.error = copyPages(database.string(), unfinished, folder); !result.error.empty())
        return result;
    if (!syncFile(unfinished, O_RDONLY) || ::chmod(unfinished.c_str(), static_cast<mode_t>(kept)) != 0 ||
        ::rename(unfinished.c_str(), target.c_str()) != 0) {
        result.error = copyFailure(folder, systemText(errno));
        return result;
    }
    files.keep();
    (void)syncFile(folder, O_RDONLY | O_DIRECTORY);
    result.copyPath = target;
    return result;
}

} // namespace zelvan
