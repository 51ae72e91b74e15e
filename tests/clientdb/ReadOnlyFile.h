#pragma once

// Makes a file read-only for as long as the guard lives, also for root (who ignores the
// permission bits): then the file is marked immutable where the file system allows it.

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace zelvan::test {

// Sets or clears the immutable flag of a file or folder (root only); false where that fails.
inline bool setImmutable(const std::string& path, bool on)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path) : m_path(std::move(path))
    {
        ::chmod(m_path.c_str(), S_IRUSR | S_IRGRP | S_IROTH);
        if (::geteuid() == 0)
            m_immutable = setImmutable(true);
    }
    ~ReadOnlyFile()
    {
        if (m_immutable)
            setImmutable(false);
        ::chmod(m_path.c_str(), S_IRUSR | S_IWUSR);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

private:
    bool setImmutable(bool on) const { return test::setImmutable(m_path, on); }

    std::string m_path;
    bool m_immutable = false;
};

} // namespace zelvan::test
