#include "clientdb/FieldType.h"

#include <cctype>
#include <charconv>

namespace zelvan {

namespace {

struct StorageSize {
    std::string_view typeName;
    int size;
};

// Declared type names without a size -> their storage size in bytes.
constexpr StorageSize kStorageSizes[] = {
    {"BIT", 1},   {"BOOLEAN", 1},  {"BYTE", 1},    {"TINYINT", 1},  {"SMALLINT", 2}, {"SHORT", 2},     {"INTEGER", 4},
    {"INT", 4},   {"LONG", 4},     {"COUNTER", 4}, {"BIGINT", 8},   {"REAL", 4},     {"SINGLE", 4},    {"DOUBLE", 8},
    {"FLOAT", 8}, {"CURRENCY", 8}, {"MONEY", 8},   {"DATETIME", 8}, {"DATE", 8},     {"TIMESTAMP", 8},
};

std::string upperCase(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

std::string declaredTypeOf(FieldType type, int size)
{
    switch (type) {
    case FieldType::Text:
        return "VARCHAR(" + std::to_string(size) + ")";
    case FieldType::DateTime:
        return "DATETIME";
    case FieldType::Integer16:
        return "SMALLINT";
    }
    return "TEXT";
}

std::string strictTypeOf(FieldType type)
{
    return type == FieldType::Integer16 ? "INTEGER" : "TEXT";
}

int sizeOfDeclaredType(std::string_view declaredType)
{
    const auto open = declaredType.find('(');
    if (open != std::string_view::npos) {
        auto digits = declaredType.substr(open + 1);
        while (!digits.empty() && digits.front() == ' ')
            digits.remove_prefix(1);
        int size = 0;
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
        return ec == std::errc{} && end != digits.data() ? size : 0;
    }
    auto name = upperCase(declaredType);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    for (const auto& entry : kStorageSizes) {
        if (entry.typeName == name)
            return entry.size;
    }
    return 0;
}

} // namespace zelvan
