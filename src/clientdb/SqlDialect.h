#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// Translates a statement of the loader, written in the dialect of the original database
// engine, into SQLite's: ISNULL(x) becomes (x IS NULL), TRIM$( becomes TRIM(, a bracketed
// name [Konto-Nr] becomes "Konto-Nr". RIGHT JOIN, NOT, AND, OR and comparisons with '' are
// the same in both. Text inside string literals is never touched.
std::string translateSql(std::string_view statement);

} // namespace zelvan
