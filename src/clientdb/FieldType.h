#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// The field types the schema extension creates (the old engine's type codes in brackets).
enum class FieldType {
    Text,      // (10) with a size
    DateTime,  // (8)
    Integer16, // (3)
};

// The SQLite column type written for a new field: VARCHAR(size), DATETIME or SMALLINT.
std::string declaredTypeOf(FieldType type, int size);

// The column type written for a new field of a STRICT table, which takes only INTEGER, REAL,
// TEXT, BLOB and ANY: TEXT, except INTEGER for the 16-bit Integer.
std::string strictTypeOf(FieldType type);

// The defined size of a field read back from its declared type: the number in brackets for
// text types (VARCHAR(34) -> 34), the storage size for numbers and dates, 0 when unknown
// (an unsized TEXT, an expression).
int sizeOfDeclaredType(std::string_view declaredType);

} // namespace zelvan
