#pragma once

// Makes a folder unwritable for as long as the guard lives, also for root (who ignores the
// permission bits): then the folder is marked immutable where the file system allows it.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "ReadOnlyFile.h"
#include "core/SystemErrorCause.h"

namespace zelvan::test {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string path) : m_path(std::move(path))
    {
        ::chmod(m_path.c_str(), S_IRWXU & ~S_IWUSR);
        if (::geteuid() == 0)
            m_immutable = setImmutable(m_path, true);
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            setImmutable(m_path, false);
        ::chmod(m_path.c_str(), S_IRWXU);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // Whether nothing can be created in the folder; where the machine allows no such folder the
    // test is skipped.
    bool holds() const
    {
        const std::string probe = m_path + "/probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, S_IRUSR | S_IWUSR);
        if (fd < 0)
            return true;
        ::close(fd);
        ::unlink(probe.c_str());
        return false;
    }

    // The cause the system gives for a refused write: root meets the immutable mark, anyone else
    // the permission bits.
    static std::string refusal() { return systemErrorCause(::geteuid() == 0 ? EPERM : EACCES); }

private:
    std::string m_path;
    bool m_immutable = false;
};

} // namespace zelvan::test
