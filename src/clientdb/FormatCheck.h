#pragma once

#include "clientdb/Database.h"
#include "core/ProgramState.h"

namespace zelvan {

// Whether an open database has the tables and indexes that a format loads from and saves
// through, before anything is added to it. A Tondra database whose Kunden table is linked
// passes (the linked Marlo database is checked when it is opened). The error's description is
// the German message for the person at the screen.
DbError checkFormatTables(const Database& database, ClientFormat format, bool fixedDeductions);

// Whether a table opened with its index seeks by the key fields (comma-separated, in index
// order) that the format names; a save through any other key would find other records.
DbError checkKeyFields(const TableRecordset& table, ClientFormat format, std::string_view keyFields);

} // namespace zelvan
