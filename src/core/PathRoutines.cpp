#include "core/PathRoutines.h"

namespace zelvan {

namespace {

#ifdef _WIN32
constexpr char kPlatformSeparator = '\\';
#else
constexpr char kPlatformSeparator = '/';
#endif

bool isSeparator(char c) { return c == '\\' || c == '/'; }

} // namespace

std::string WithBackslash(std::string_view path)
{
    std::string result(path);
    if (!result.empty() && isSeparator(result.back()))
        return result;
    const auto used = path.find_last_of("\\/");
    result += used == std::string_view::npos ? kPlatformSeparator : path[used];
    return result;
}

std::string FolderOfPath(std::string_view path)
{
    const auto last = path.find_last_of("\\/");
    return last == std::string_view::npos ? std::string() : std::string(path.substr(0, last + 1));
}

} // namespace zelvan
