#include "select/InvoicingDatabase.h"

#include <sqlite3.h>

#include <array>
#include <string_view>

#include "core/PathRoutines.h"

namespace zelvan {

namespace {

// The tables every invoicing database has, in the order they are looked up.
constexpr std::array<std::string_view, 7> kInvoicingTables{
    "Kunden", "Artikel", "Vorgang", "Vorgangszeilen", "RechnungsBuch", "Preisgruppen", "Mengenpreise",
};

// A table of its own or a linked one (a row of LinkedTables), compared without regard to case.
constexpr const char* kTableQuery =
    "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND upper(name) = upper(?1) "
    "UNION ALL SELECT 1 FROM LinkedTables WHERE upper(Name) = upper(?1)";
constexpr const char* kOwnTableQuery =
    "SELECT 1 FROM sqlite_master WHERE type IN ('table','view') AND upper(name) = upper(?1)";

bool hasTable(sqlite3* db, const char* query, std::string_view table)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, query, -1, &statement, nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(statement, 1, table.data(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return found;
}

} // namespace

bool IsInvoicingDatabase(const std::string& name, const std::string& folder)
{
    const std::string path = WithBackslash(folder) + name;
    sqlite3* db = nullptr;
    // Read-only and never creating a file: looking must not change anything.
    const int opened = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    bool all = opened == SQLITE_OK;
    if (all) {
        const char* query = hasTable(db, kOwnTableQuery, "LinkedTables") ? kTableQuery : kOwnTableQuery;
        for (const auto table : kInvoicingTables) {
            if (!hasTable(db, query, table)) {
                all = false;
                break;
            }
        }
    }
    sqlite3_close(db);
    return all;
}

} // namespace zelvan
