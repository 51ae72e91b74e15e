#pragma once

#include <span>
#include <string>
#include <string_view>

#include "clientdb/FieldType.h"
#include "core/WorkingSet.h"

namespace zelvan {

// A field that the schema extension adds when it is missing.
struct FieldSpec {
    std::string_view name;
    FieldType type;
    int size; // text fields only
};

// A table the save writes back through, with the index it seeks by and that index's key fields.
struct WriteBackTable {
    std::string_view table;
    std::string_view index;
    std::string_view keyFields; // comma-separated, in index order
};

// What a client database format consists of.
struct FormatInfo {
    ClientFormat format;
    std::string_view name; // in the format line
    std::string_view mainTable;
    std::string_view writeBackIndex;
    std::string_view keyField;
};

// The format's row; unknown values (0 included) get Galdo's name and no tables.
const FormatInfo& formatInfo(ClientFormat format);

// "Format: Marlo  Datei: <path>" (two blanks before "Datei").
std::string FormatFileLine(ClientFormat format, std::string_view path);

// Fields added to Personenkonten (Marlo OP, Dorvan) and Kunden (Tondra).
std::span<const FieldSpec> accountTableFields();
// Fields added to Festabzug and to Personal (Galdo).
std::span<const FieldSpec> galdoPersonFields();
// Fields added to Banken (Galdo).
std::span<const FieldSpec> galdoBankFields();
// The size of a text field the schema extension adds under this name (compared without regard
// to case), in any table; 0 when it adds none.
int addedTextFieldSize(std::string_view fieldName);
// The Galdo tables the save writes back through.
std::span<const WriteBackTable> galdoWriteBackTables();

} // namespace zelvan
