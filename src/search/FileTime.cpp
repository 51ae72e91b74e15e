#include "search/FileTime.h"

#include <cstdio>
#include <ctime>

namespace zelvan {

namespace {

std::string formatUtc(FileTime time, const char* separator)
{
    const auto seconds = static_cast<std::time_t>(time);
    std::tm fields{};
    if (::gmtime_r(&seconds, &fields) == nullptr)
        return {};
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%d%s%02d:%02d:%02d", fields.tm_mday, fields.tm_mon + 1,
                  fields.tm_year + 1900, separator, fields.tm_hour, fields.tm_min, fields.tm_sec);
    return text;
}

} // namespace

std::string FormatFileTime(FileTime time) { return formatUtc(time, "     "); }

std::string FileTimeToDate(FileTime time) { return formatUtc(time, " "); }

} // namespace zelvan
