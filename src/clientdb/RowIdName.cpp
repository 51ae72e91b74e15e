#include "clientdb/RowIdName.h"

#include <array>
#include <string_view>
#include <vector>

#include "clientdb/SqliteHandles.h"

namespace zelvan {

namespace {

// SQLite's names of the row id, in the order they are tried.
constexpr std::array<std::string_view, 3> kRowIdNames{"rowid", "_rowid_", "oid"};

// One text per row of a statement that takes the table name as its one parameter.
DbResult<std::vector<std::string>> columnOf(sqlite3* db, std::string_view sql, const std::string& table)
{
    sqlite::Statement statement;
    if (auto error = sqlite::prepare(db, sql, statement))
        return error;
    sqlite::bindText(statement.get(), 1, table);
    std::vector<std::string> texts;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
        texts.push_back(sqlite::textOfColumn(statement.get(), 0));
    if (rc != SQLITE_DONE)
        return sqlite::lastError(db, rc);
    return texts;
}

DbError unaddressable(const std::string& table, const std::string& reason)
{
    return makeError(DbErrorNumber::NoRowId, "Die Tabelle " + table + " wird nicht geändert: " + reason +
                                                 ", daher kann kein Datensatz sicher einzeln geändert werden.");
}

} // namespace

DbResult<std::string> rowIdName(sqlite3* db, const std::string& table)
{
    const auto withoutRowId =
        columnOf(db, "SELECT wr FROM pragma_table_list WHERE schema = 'main' AND name = ?1 COLLATE NOCASE", table);
    if (!withoutRowId.ok())
        return withoutRowId.error();
    if (!withoutRowId.value().empty() && withoutRowId.value().front() == "1")
        return unaddressable(table, "Sie hat keine Zeilennummer (WITHOUT ROWID)");
    // table_xinfo also lists generated fields, which shadow a name just as well.
    const auto fields = columnOf(db, "SELECT name FROM pragma_table_xinfo(?1)", table);
    if (!fields.ok())
        return fields.error();
    for (const auto name : kRowIdNames) {
        bool shadowed = false;
        for (const auto& field : fields.value())
            shadowed = shadowed || sqlite::sameName(field, name);
        if (!shadowed)
            return std::string(name);
    }
    return unaddressable(table, "Ihre Felder rowid, _rowid_ und oid verdecken die Zeilennummer");
}

} // namespace zelvan
