#include "core/LocalTime.h"

namespace zelvan {

std::string localTimeText(std::time_t moment, const char* format)
{
    std::tm fields{};
    ::localtime_r(&moment, &fields);
    char text[64] = {};
    const auto length = std::strftime(text, sizeof text, format, &fields);
    return std::string(text, length);
}

} // namespace zelvan
