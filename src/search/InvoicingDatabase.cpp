#include "search/InvoicingDatabase.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "clientdb/Database.h"
#include "clientdb/UntouchedRead.h"
#include "core/PathRoutines.h"

namespace zelvan {

namespace {

// The tables every invoicing database has, in the order they are looked up.
constexpr std::array<std::string_view, 7> kInvoicingTables{
    "Kunden", "Artikel", "Vorgang", "Vorgangszeilen", "RechnungsBuch", "Preisgruppen", "Mengenpreise",
};

} // namespace

bool IsInvoicingDatabase(const std::string& name, const std::string& folder)
{
    const std::string path = WithBackslash(folder) + name;
    // Looking changes nothing, not even a WAL file beside it. A journal left by an interrupted
    // change cannot be read past without playing it back: the file is listed, and its conversion
    // says what holds it.
    if (hasInterruptedChange(path))
        return true;
    Database database;
    if (database.openUntouched(path))
        return false;
    // Table definitions are found without regard to case, linked tables included.
    const bool all = std::all_of(kInvoicingTables.begin(), kInvoicingTables.end(),
                                 [&](std::string_view table) { return database.tableDef(table).ok(); });
    database.close();
    return all;
}

} // namespace zelvan
