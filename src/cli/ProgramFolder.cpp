#include "cli/ProgramFolder.h"

#include <filesystem>
#include <system_error>

#include "core/PathRoutines.h"

namespace zelvan {

std::string programFolder(const char* argv0)
{
    std::error_code ec;
    auto executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec && argv0 != nullptr)
        executable = std::filesystem::absolute(argv0, ec);
    return FolderOfPath(executable.string());
}

} // namespace zelvan
