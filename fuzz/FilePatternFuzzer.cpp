// Fuzzes the file-name pattern test against a plain recursive matcher on short inputs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "FuzzCheck.h"
#include "search/FilePattern.h"

using namespace zelvan;
using zelvan::fuzz::require;

namespace {

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// The definition, literally: "*" any run (also none), "#" one digit, anything else itself, case ignored.
bool referenceMatch(std::string_view name, std::string_view pattern)
{
    if (pattern.empty())
        return name.empty();
    if (pattern.front() == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip) {
            if (referenceMatch(name.substr(skip), pattern.substr(1)))
                return true;
        }
        return false;
    }
    if (name.empty())
        return false;
    const char c = name.front();
    const bool one = pattern.front() == '#' ? (c >= '0' && c <= '9') : lower(c) == lower(pattern.front());
    return one && referenceMatch(name.substr(1), pattern.substr(1));
}

bool referenceClientFile(std::string_view name, std::string_view prefix, std::string_view pattern)
{
    if (name.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(name[i]) != lower(prefix[i]))
            return false;
    }
    const auto tail = name.size() > pattern.size() ? name.substr(name.size() - pattern.size()) : name;
    return referenceMatch(tail, pattern);
}

} // namespace

// Input: name, pattern and prefix separated by NUL bytes ("name\0pattern\0prefix").
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto first = input.find('\0');
    const std::string_view name = input.substr(0, first);
    const std::string_view rest = first == std::string_view::npos ? std::string_view{} : input.substr(first + 1);
    const auto second = rest.find('\0');
    const std::string_view pattern = rest.substr(0, second);
    const std::string_view prefix = second == std::string_view::npos ? std::string_view{} : rest.substr(second + 1);

    const bool matched = matchesPattern(name, pattern);
    const bool clientFile = matchesClientFile(name, prefix, pattern);
    // The reference is exponential in the number of "*"; compare on short inputs with few of them
    // (twelve stars against 24 characters took the reference a minute).
    const auto stars = static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), '*'));
    if (name.size() <= 24 && pattern.size() <= 12 && stars <= 4) {
        require(matched == referenceMatch(name, pattern), "matchesPattern weicht ab");
        require(clientFile == referenceClientFile(name, prefix, pattern), "matchesClientFile weicht ab");
    }
    // Every name matches "*", and a pattern without wildcards only the name itself.
    require(matchesPattern(name, "*"), "\"*\" passt nicht");
    if (pattern.find_first_of("*#") == std::string_view::npos)
        require(matched == (name.size() == pattern.size() && referenceMatch(name, pattern)), "ohne Platzhalter");
    return 0;
}
