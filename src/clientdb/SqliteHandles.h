#pragma once

// Owning handles around the SQLite C interface, shared by the database and its record sets.

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>

#include "clientdb/DbError.h"
#include "clientdb/DbResult.h"
#include "clientdb/DbValue.h"

namespace zelvan::sqlite {

// The connection lives as long as the database object or any table record set still uses it.
using Connection = std::shared_ptr<sqlite3>;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares one statement; the error carries SQLite's detail text.
DbError prepare(sqlite3* db, std::string_view sql, Statement& statement);

// Binds a value to parameter `index` (from 1).
int bind(sqlite3_stmt* statement, int index, const DbValue& value);
int bindText(sqlite3_stmt* statement, int index, std::string_view text);

// The value of column `index` of the current row.
DbValue columnValue(sqlite3_stmt* statement, int index);

// The text of column `index` of the current row ("" for null).
std::string textOfColumn(sqlite3_stmt* statement, int index);

// The text a stored value is loaded as: a REAL that holds a whole number reads as that number's
// digits (12345.0 -> "12345"), as other tools store a BLZ or account number in a number column;
// every other value as SQLite gives it as text, null as "".
std::string loadedText(sqlite3_stmt* statement, int index);

// The error of the last failed call on the connection.
DbError lastError(sqlite3* db, int resultCode);

// A name as a quoted SQLite identifier: "Konto-Nr".
std::string quoteName(std::string_view name);

// ASCII case-insensitive equality, as the old engine compared table and field names.
bool sameName(std::string_view a, std::string_view b);

} // namespace zelvan::sqlite
