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
#include "core/FinalName.h"
#include "core/HeldFiles.h"
#include "core/LocalTime.h"
#include "core/Sha256.h"
#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

// More copies of one file within one second than this are refused: that is a loop gone wrong.
constexpr int kMaxCounter = 999;
// Waiting for a program that is just committing, as the database layer waits.
constexpr int kBusyTimeoutMs = 5000;

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
        if (!m_checksum.empty())
            (void)::unlink(m_checksum.c_str());
        if (m_folderCreated)
            (void)::rmdir(m_folder.c_str()); // only while empty
    }

    void folderCreated(std::string folder)
    {
        m_folder = std::move(folder);
        m_folderCreated = true;
    }
    void checksum(std::string path) { m_checksum = std::move(path); }
    void unfinished(std::string path) { m_unfinished = std::move(path); }
    const std::string& unfinishedPath() const { return m_unfinished; }
    // The copy is complete under its name: nothing is removed.
    void keep()
    {
        m_unfinished.clear();
        m_checksum.clear();
        m_folderCreated = false;
    }

private:
    std::string m_folder;
    bool m_folderCreated = false;
    std::string m_checksum;
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

// Creates the copy in the making under the first free name, held by this run's flock until the
// copy has its final name. Returns the descriptor, or -1 with the failure set.
int createUnfinished(const std::string& folder, const std::string& fileName, const std::tm& local, mode_t mode,
                     CopyFiles& files, std::string& failure)
{
    for (int counter = 1; counter <= kMaxCounter; ++counter) {
        const std::string path =
            (fs::path(folder) / backupFileName(fileName, local, counter)).string() + std::string(kUnfinishedSuffix);
        const int fd = createHeldFile(path, mode & S_IRWXU);
        if (fd >= 0) {
            files.unfinished(path);
            return fd;
        }
        if (errno != EEXIST) {
            failure = folderFailure(folder, errno);
            return -1;
        }
    }
    failure = folderFailure(folder, EEXIST);
    return -1;
}

// Writes the checksum file of a copy about to be named `copy`, in the form sha256sum reads.
// Returns 0, or the errno (EEXIST when the name is taken).
int writeChecksum(const std::string& copy, const std::string& hex, const struct stat& database, mode_t mode)
{
    const std::string path = copy + std::string(kChecksumSuffix);
    const FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR));
    if (!fd)
        return errno;
    const std::string line = hex + "  " + fs::path(copy).filename().string() + "\n";
    if (::write(fd.get(), line.data(), line.size()) != static_cast<ssize_t>(line.size()) ||
        takeOverPermissions(fd.get(), database, mode & ~static_cast<mode_t>(S_IXUSR | S_IXGRP | S_IXOTH)) < 0 ||
        ::fsync(fd.get()) != 0) {
        const int error = errno == 0 ? EIO : errno;
        (void)::unlink(path.c_str());
        return error;
    }
    return 0;
}

// Gives the complete copy its final name: the first of the names for this second that is free,
// together with its checksum file, never replacing a file. Returns the name, or empty with the
// failure set.
std::string giveFinalName(const std::string& folder, const std::string& fileName, const std::tm& local,
                          const std::string& unfinished, const std::string& hex, const struct stat& database,
                          mode_t mode, CopyFiles& files, std::string& failure)
{
    for (int counter = 1; counter <= kMaxCounter; ++counter) {
        const std::string target = (fs::path(folder) / backupFileName(fileName, local, counter)).string();
        struct stat existing {};
        if (::lstat(target.c_str(), &existing) == 0)
            continue;
        int error = writeChecksum(target, hex, database, mode);
        if (error == EEXIST)
            continue;
        if (error == 0) {
            files.checksum(target + std::string(kChecksumSuffix));
            error = moveWithoutReplacing(unfinished, target);
            if (error == 0)
                return target;
            (void)::unlink((target + std::string(kChecksumSuffix)).c_str());
            files.checksum({});
            if (error == EEXIST)
                continue;
        }
        failure = copyFailure(folder, systemText(error));
        return {};
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

} // namespace

std::string backupFileName(std::string_view databaseFileName, const std::tm& localTime, int counter)
{
    char stamp[32] = {};
    const auto length = std::strftime(stamp, sizeof stamp, kFileTimeStamp, &localTime);
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
    (void)removeLeftovers(folder, isBackupLeftover);

    // The copy is made under another name, its permissions set before the first byte is written.
    std::tm local{};
    ::localtime_r(&now, &local);
    const std::string fileName = database.filename().string();
    const FileDescriptor fd(createUnfinished(folder, fileName, local, mode, files, result.error));
    if (!fd)
        return result;
    // SQLite opens it by name: a user other than root needs to read and write it until it is done,
    // also where the database has no such bits for its owner.
    const int kept = takeOverPermissions(fd.get(), status, mode, ::geteuid() == 0 ? 0 : S_IRUSR | S_IWUSR);
    if (kept < 0) {
        result.error = folderFailure(folder, errno);
        return result;
    }
    const std::string unfinished = files.unfinishedPath();
    if (result.error = copyPages(database.string(), unfinished, folder); !result.error.empty())
        return result;
    int error = 0;
    std::string hex;
    if (::fsync(fd.get()) != 0 || ::fchmod(fd.get(), static_cast<mode_t>(kept)) != 0)
        error = errno;
    else if (hex = sha256OfFile(fd.get(), error); hex.empty())
        error = error == 0 ? EIO : error;
    if (error != 0) {
        result.error = copyFailure(folder, systemText(error));
        return result;
    }
    const std::string target =
        giveFinalName(folder, fileName, local, unfinished, hex, status, static_cast<mode_t>(kept), files, result.error);
    if (target.empty())
        return result;
    files.keep();
    const FileDescriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd)
        (void)::fsync(folderFd.get());
    result.copyPath = target;
    return result;
}

bool isBackupLeftover(std::string_view name)
{
    return name.ends_with(kUnfinishedSuffix);
}

} // namespace zelvan
