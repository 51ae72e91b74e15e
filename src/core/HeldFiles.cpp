#include "core/HeldFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace zelvan {

namespace {

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still leads to the file open as `fd`.
bool stillNamed(int dirFd, const char* name, int fd)
{
    struct stat named {};
    struct stat open {};
    return ::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0 && sameFile(named, open);
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

int createHeldFile(const std::string& path, unsigned mode)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (fd < 0)
        return -1;
    // Between creating and locking, a cleaner may have taken the free lock and removed the name:
    // then the file is no longer reachable and is given up.
    int error = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno;
    else if (!stillNamed(AT_FDCWD, path.c_str(), fd))
        error = ENOENT;
    if (error != 0) {
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int removeLeftovers(const std::string& folder, const std::function<bool(std::string_view name)>& isOurs)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir.get());
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const char* name = entry->d_name;
        if (!isOurs(name))
            continue;
        // Where flock is built on record locks (NFS), an exclusive one needs a file open for writing.
        constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
        int fd = ::openat(dirFd, name, O_RDWR | kFlags);
        if (fd < 0)
            fd = ::openat(dirFd, name, O_RDONLY | kFlags);
        if (fd < 0)
            continue;
        struct stat status {};
        // Only a plain file whose lock is free and whose name still leads to it goes.
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            stillNamed(dirFd, name, fd) && ::unlinkat(dirFd, name, 0) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

} // namespace zelvan
