#include "clientdb/DbValue.h"

namespace zelvan {

std::string textOf(const DbValue& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return std::to_string(*number);
    return {};
}

} // namespace zelvan
