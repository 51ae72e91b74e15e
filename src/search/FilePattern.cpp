#include "search/FilePattern.h"

namespace zelvan {

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool matchesOne(char c, char token) { return token == '#' ? isDigit(c) : lower(c) == lower(token); }

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

bool matchesPattern(std::string_view name, std::string_view pattern)
{
    // Greedy matching with one back-track point per "*": linear in practice, never exponential.
    std::size_t n = 0, p = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && matchesOne(name[n], pattern[p])) {
            ++n;
            ++p;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool matchesClientFile(std::string_view name, std::string_view prefix, std::string_view pattern)
{
    if (name.size() < prefix.size() || !equalsIgnoringCase(name.substr(0, prefix.size()), prefix))
        return false;
    const auto tail = name.size() > pattern.size() ? name.substr(name.size() - pattern.size()) : name;
    return matchesPattern(tail, pattern);
}

} // namespace zelvan
