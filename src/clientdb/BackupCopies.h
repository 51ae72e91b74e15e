#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/WorkingSet.h"

namespace zelvan {

// What the look at a backup copy found.
enum class CopyVerdict {
    Ok,              // its bytes match its checksum
    ChecksumWrong,   // its bytes have changed since it was written
    Damaged,         // no SQLite database, or one that fails its integrity check
    Empty,           // 0 bytes
    WithoutChecksum, // no checksum file, but the database passes its integrity check
};

// The word the listing shows for a verdict.
std::string_view verdictWord(CopyVerdict verdict);

// One backup copy of a database.
struct BackupCopy {
    std::string path;
    // When it was taken, from its name: "07.12.2026 14:30:15".
    std::string time;
    std::uintmax_t bytes = 0;
    // Records of the format's main table; none where the copy cannot be read or has no such table.
    std::optional<long long> records;
    CopyVerdict verdict = CopyVerdict::Damaged;
    // Why it is damaged or its checksum could not be read, in German; empty otherwise.
    std::string detail;
};

// The file whose copies belong to a client database: the database itself, or for a Tondra
// database whose Kunden table is linked, the Marlo database it names (its copies are the ones
// that hold the customers).
struct BackupTarget {
    std::string path;
    ClientFormat format = ClientFormat::None;
    // The Tondra database that led here; empty when the target is the database given.
    std::string linkedFrom;
    // Why there is no target, in German; empty when there is one.
    std::string error;
};

BackupTarget backupTargetOf(const std::string& databasePath, ClientFormat format);

// Looks at a copy without writing anything into or beside it: size, checksum, or where it has
// none, SQLite's integrity check; and the records of the format's main table.
BackupCopy inspectBackupCopy(const std::string& copyPath, ClientFormat format);

// The copies of the database at `databasePath` in its copies' folder, newest first, each
// inspected. Leftovers of killed copies in that folder are removed first.
std::vector<BackupCopy> listBackupCopies(const std::string& databasePath, ClientFormat format);

} // namespace zelvan
