#pragma once

#include <string>

namespace zelvan {

// Whether the database `name` in `folder` holds the seven tables of the invoicing product
// (Kunden, Artikel, Vorgang, Vorgangszeilen, RechnungsBuch, Preisgruppen, Mengenpreise).
// A file that cannot be opened as a database is not one.
bool IsInvoicingDatabase(const std::string& name, const std::string& folder);

} // namespace zelvan
