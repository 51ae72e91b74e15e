#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "clientdb/DbResult.h"
#include "clientdb/FieldType.h"
#include "clientdb/Recordset.h"
#include "clientdb/SqliteHandles.h"
#include "clientdb/TableDef.h"
#include "clientdb/TableRecordset.h"

namespace zelvan {

// One client database, a SQLite file, opened shared and writable. Opening never creates a
// file. Table and field names are compared without regard to case.
class Database {
public:
    // Seconds to wait for a lock held by another program before giving up.
    static constexpr int kBusyTimeoutMs = 5000;

    Database() = default;
    // One handle per open database: moved, never copied.
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    Database(Database&&) noexcept = default;
    Database& operator=(Database&&) noexcept = default;

    // Opens the file at `path`; a database open before is closed first. A missing file, a
    // folder, an Access file, any other file that is not a SQLite database, a damaged or a
    // locked one are errors.
    DbError open(const std::string& path);
    // The same checks, but the file is only read and nothing of it or beside it changes (see
    // untouchedReadUri): a journal another program left is not played back but refused.
    DbError openUntouched(const std::string& path);
    // Opens a file that no program writes (a backup copy) only to read it, as it lies: without
    // locks, and nothing is written into it or beside it.
    DbError openUnchanging(const std::string& path);
    bool isOpen() const { return m_connection != nullptr; }
    const std::string& path() const { return m_path; }
    // True when the file could only be opened for reading (no write permission).
    bool isReadOnly() const;
    DbError close();

    DbResult<TableDef> tableDef(std::string_view name) const;
    DbResult<std::vector<FieldDef>> fields(std::string_view table) const;
    DbResult<FieldDef> field(std::string_view table, std::string_view name) const;
    // Text gets a size (VARCHAR(size)); Date/Time and 16-bit Integer do not. A STRICT table gets
    // TEXT and INTEGER instead, the only kinds of these it takes.
    DbError createField(std::string_view table, std::string_view name, FieldType type, int size);
    // Whether the table was created STRICT (its values must have their column's type).
    bool isStrictTable(std::string_view table) const;
    // Empty strings are always allowed in SQLite; succeeds when the field exists.
    DbError setAllowZeroLength(std::string_view table, std::string_view name, bool allow);

    // Runs a statement written in the loader's dialect and reads all its rows.
    DbResult<Recordset> openRecordset(std::string_view statement) const;
    // Opens a table for seeking by an index and editing single fields.
    DbResult<TableRecordset> openTable(std::string_view table) const;

    DbError beginTransaction();
    DbError commitTransaction();
    DbError rollbackTransaction();
    bool inTransaction() const;

    // Runs SQL that takes no values (schema changes, transaction control).
    DbError execute(std::string_view sql);

private:
    DbError notOpen() const;
    // Opens the file writable, or read-only through the URI given.
    DbError openFile(const std::string& path, const std::string& readOnlyUri);

    sqlite::Connection m_connection;
    std::string m_path;
};

// The version of the SQLite library in use, such as "3.40.1".
std::string_view sqliteVersion();

} // namespace zelvan
