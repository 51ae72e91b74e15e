#pragma once

#include <ctime>
#include <string>

namespace zelvan {

// The stamp that names files after a moment, to the second: "2026-12-07_233954".
inline constexpr const char* kFileTimeStamp = "%Y-%m-%d_%H%M%S";

// A moment in local time, written in strftime's `format`.
std::string localTimeText(std::time_t moment, const char* format);

} // namespace zelvan
