#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace zelvan {

// The folder beside a client database that holds its copies.
inline constexpr std::string_view kBackupFolderName = "Sicherung_ZELVAN";
// A copy in the making carries this behind its name; only a complete copy gets a name without it.
inline constexpr std::string_view kUnfinishedSuffix = ".unfertig";
// Beside each copy: the SHA-256 of its bytes, in a file named after it with this behind.
inline constexpr std::string_view kChecksumSuffix = ".sha256";

// How making a copy ended.
struct BackupResult {
    // The copy made; empty when none was made.
    std::string copyPath;
    // Why no copy was made, in German for the person at the screen; empty when it was made.
    std::string error;

    bool ok() const { return error.empty(); }
};

// The name of a copy: the database's file name, the local date and time, and from the second copy
// within one second on a counter: MARL001.MDB.2026-12-07_143015, MARL001.MDB.2026-12-07_143015_2.
std::string backupFileName(std::string_view databaseFileName, const std::tm& localTime, int counter);

// Copies the SQLite database at `databasePath` into the folder Sicherung_ZELVAN beside it, named
// after the file and the local time `now`. The copy is taken through SQLite's online backup inside
// one read transaction, so it holds the database as one moment left it, also while another
// program writes. It gets the file's permissions (never wider: the group bits only where it could
// be given the file's group). It is written under a name of its own held by this run's flock,
// synced, given its checksum file, and only then its final name, which never replaces a file; a
// failed copy leaves no file behind, a killed one only its held file, which the next copy into the
// folder removes. The database itself is only read.
BackupResult backupDatabaseFile(const std::string& databasePath, std::time_t now);

// Whether a name in the copies' folder is one that a killed copy leaves behind.
bool isBackupLeftover(std::string_view name);

} // namespace zelvan
