#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace zelvan {

// One value of a field: null, a whole number or text.
using DbValue = std::variant<std::monostate, std::int64_t, std::string>;

inline bool isNull(const DbValue& value)
{
    return std::holds_alternative<std::monostate>(value);
}

// The value as text: null reads as the empty string, a number in decimal.
std::string textOf(const DbValue& value);

} // namespace zelvan
