#pragma once

#include <sqlite3.h>

#include <string>

#include "clientdb/DbResult.h"

namespace zelvan {

// The name through which a record of `table` is addressed by its row id: rowid, _rowid_ or oid,
// the first one the table has no field of that name for (a field of that name would be read and
// matched instead, and may repeat). A table that has fields with all three names or no row id
// at all (WITHOUT ROWID) is an error naming the table and why its records cannot be told apart.
DbResult<std::string> rowIdName(sqlite3* db, const std::string& table);

} // namespace zelvan
