#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// Numbers of the errors the database layer reports itself; errors that come from SQLite carry
// SQLite's primary result code (1 to 28) instead.
enum class DbErrorNumber : int {
    FileNotFound = 3001,
    NotADatabase = 3002,
    AccessDatabase = 3003,
    NoDatabaseOpen = 3004,
    TableNotFound = 3011,
    FieldNotFound = 3012,
    IndexNotFound = 3013,
    // The table's records cannot be addressed one by one: no row id, or fields hide its names.
    NoRowId = 3014,
    NoCurrentRecord = 3021,
    NotInEditMode = 3022,
    WrongKeyCount = 3023,
    UnsupportedComparison = 3024,
    RecordNotChanged = 3025,
    TransactionEnded = 3026,
    // No copy could be made before the first change: the database is left as it is.
    BackupFailed = 3040,
};

// An error of the database layer: a number and a German description. Number 0 means no error.
struct DbError {
    int number = 0;
    std::string description;

    explicit operator bool() const { return number != 0; }
};

DbError makeError(DbErrorNumber number, std::string description);

// The German description of a SQLite result code, with SQLite's own detail text where it adds
// something (the name of a missing field, for example).
DbError sqliteError(int resultCode, const char* detail);

// The same, with SQLite's extended result code and the operating system's error number of the
// failed call, which name the cause where the primary code cannot: a folder in which no journal
// can be created, a full disk, a missing permission, a read-only file system.
DbError sqliteError(int extendedCode, const char* detail, int systemError);

// Names the cause of a failed write to the database at `databasePath` that the file system shows
// when SQLite's error does not: a read-only folder (no journal can be created there) or a
// read-only database file. Other errors are returned as they are.
DbError withWriteCause(DbError error, const std::string& databasePath);

} // namespace zelvan
