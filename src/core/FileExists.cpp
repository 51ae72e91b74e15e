#include "core/FileExists.h"

#include <fnmatch.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "core/PathRoutines.h"

namespace zelvan {

namespace {

namespace fs = std::filesystem;

bool isVisibleFile(const fs::path& path, std::error_code& ec)
{
    const std::string name = path.filename().string();
    return !name.empty() && name.front() != '.' && fs::is_regular_file(path, ec);
}

} // namespace

bool FileExists(std::string_view path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    const std::string text(path);
    if (text.find_first_of("*?") == std::string::npos)
        return isVisibleFile(fs::path(text), ec);

    const std::string folder = FolderOfPath(text);
    const std::string pattern = text.substr(folder.size());
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code entryError;
        if (::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0 && isVisibleFile(it->path(), entryError))
            return true;
    }
    return false;
}

} // namespace zelvan
