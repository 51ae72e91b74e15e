#pragma once

#include <string_view>

namespace zelvan {

// Wildcard match without regard to letter case: "#" is one decimal digit, "*" any run of
// characters (also none), every other character stands for itself.
bool matchesPattern(std::string_view name, std::string_view pattern);

// A client database name (Marlo OP, Dorvan, Galdo): its first characters equal the prefix and
// its last characters, as many as the pattern has, match the pattern (a shorter name whole).
bool matchesClientFile(std::string_view name, std::string_view prefix, std::string_view pattern);

} // namespace zelvan
