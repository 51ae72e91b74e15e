#pragma once

#include <cstdint>
#include <string>

namespace zelvan {

// A file's last-write time in seconds since 1970-01-01 UTC.
using FileTime = std::int64_t;

// "05.03.2013     07:04:09": day, month, year, five blanks, time; always UTC.
std::string FormatFileTime(FileTime time);

// The same instant as a date-time value in its default German form "05.03.2013 07:04:09" (UTC).
std::string FileTimeToDate(FileTime time);

} // namespace zelvan
