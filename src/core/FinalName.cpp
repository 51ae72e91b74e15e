#include "core/FinalName.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelvan {

namespace {

// The errors by which a file system says it does not offer a step at all.
bool stepUnsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EPERM;
}

} // namespace

int moveWithoutReplacing(const std::string& from, const std::string& to, FinalNameStep first)
{
    if (first == FinalNameStep::RenameNoReplace) {
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
            return 0;
        if (!stepUnsupported(errno))
            return errno;
        first = FinalNameStep::LinkThenUnlink;
    }
    if (first == FinalNameStep::LinkThenUnlink) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            (void)::unlink(from.c_str());
            return 0;
        }
        if (!stepUnsupported(errno))
            return errno;
    }
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace zelvan
