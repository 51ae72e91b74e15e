#pragma once

#include <ctime>
#include <string>

#include "clientdb/BackupCopies.h"

namespace zelvan {

// How putting a copy back ended.
enum class RestoreStatus {
    Done,
    CopyUnusable, // the copy is incomplete, changed, damaged or of another format
    DatabaseBusy, // another program holds or changed the database
    Failed,       // the database could not be read or written, or no copy of it could be made
};

struct RestoreOutcome {
    RestoreStatus status = RestoreStatus::Failed;
    // In German: what was put back and where the state before lies, or why nothing was.
    std::string message;
    // The copy of the state before the put-back; empty when none was made.
    std::string copyBefore;
};

// Puts `copyPath` back into the target's database. The copy must be complete, match its checksum
// (or without one pass SQLite's integrity check) and have the tables of the target's format. The
// database's current state is copied first, always; then the copy goes in through SQLite's online
// backup in one step, which takes the write lock itself, so a -wal and -shm beside the database
// stay consistent and the file keeps its owner, group and mode. When anything is refused, the
// database is as it was.
RestoreOutcome restoreBackupCopy(const BackupTarget& target, const std::string& copyPath, std::time_t now);

} // namespace zelvan
