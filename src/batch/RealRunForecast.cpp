#include "batch/RealRunForecast.h"

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "clientdb/DatabaseBackup.h"
#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

// Why this user cannot create files in the folder, as an error number (0 when it can). The check
// goes by the effective user and also sees an immutable folder and a read-only file system.
int creationRefused(const fs::path& folder)
{
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// Whether the file system of the folder has `bytes` free for this user.
bool hasRoom(const fs::path& folder, std::uintmax_t bytes)
{
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) != 0)
        return true; // unknown: the real run will tell
    return static_cast<std::uintmax_t>(space.f_bavail) * space.f_frsize >= bytes;
}

std::string quoted(const fs::path& path)
{
    return "\"" + path.string() + "\"";
}

std::string backupRefused(const fs::path& path)
{
    std::error_code ec;
    const fs::path database = fs::absolute(path, ec);
    const fs::path folder = database.parent_path() / kBackupFolderName;
    const auto status = fs::status(folder, ec);
    if (fs::exists(status) && !fs::is_directory(status))
        return quoted(folder) + " ist kein Ordner; dort kann keine Sicherungskopie angelegt werden.";
    if (!fs::exists(status)) {
        if (const int refused = creationRefused(database.parent_path()))
            return "Der Ordner " + quoted(folder) +
                   " für die Sicherungskopie kann nicht angelegt werden: " + systemErrorCause(refused) + ".";
    } else if (const int refused = creationRefused(folder)) {
        return "In den Ordner " + quoted(folder) +
               " kann keine Sicherungskopie geschrieben werden: " + systemErrorCause(refused) + ".";
    }
    const auto bytes = fs::file_size(database, ec);
    if (!ec && !hasRoom(fs::exists(status) ? folder : database.parent_path(), bytes))
        return "Die Sicherungskopie in " + quoted(folder) +
               " kann nicht geschrieben werden: " + systemErrorCause(ENOSPC) + ".";
    return {};
}

} // namespace

std::string foretellRealRun(const std::string& path, bool backups)
{
    if (backups) {
        if (auto refused = backupRefused(path); !refused.empty())
            return refused + " Ohne Sicherungskopie wird die Datenbank nicht geändert.";
    }
    std::error_code ec;
    const fs::path folder = fs::absolute(path, ec).parent_path();
    if (creationRefused(folder) != 0)
        return "Der Ordner " + quoted(folder) +
               " ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt werden.";
    return {};
}

} // namespace zelvan
