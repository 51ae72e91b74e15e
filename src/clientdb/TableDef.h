#pragma once

#include <cstdint>
#include <string>

namespace zelvan {

// The attached-table bit of a table definition's attributes: the table lives in another
// database, named by the connect string.
inline constexpr std::int32_t kAttachedTable = 0x40000000;

// A table definition: its name as the database spells it, its attributes and, for a linked
// table, the connect string ";DATABASE=" and the path of the database that holds it.
struct TableDef {
    std::string name;
    std::int32_t attributes = 0;
    std::string connect;

    bool isLinked() const { return (attributes & kAttachedTable) != 0; }
};

// A field of a table: its name, its declared type and the size read from that type.
struct FieldDef {
    std::string name;
    std::string declaredType;
    int size = 0;
};

} // namespace zelvan
