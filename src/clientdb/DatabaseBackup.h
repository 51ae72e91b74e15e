#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace zelvan {

// The folder beside a client database that holds its copies.
inline constexpr std::string_view kBackupFolderName = "Sicherung_ZELVAN";

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
// be given the file's group) and appears under its name only once it is complete; a failed copy
// leaves no file behind. The database itself is only read.
BackupResult backupDatabaseFile(const std::string& databasePath, std::time_t now);

} // namespace zelvan
