#include "clientdb/TextFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/Windows1252.h"

namespace zelvan {

namespace {

WriteResult failure(int number, const std::string& path)
{
    return {number == 0 ? EIO : number, "Die Datei \"" + path + "\" kann nicht geschrieben werden: " +
                                            std::strerror(number == 0 ? EIO : number)};
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

WriteResult WriteTextFile(const std::string& text, const std::string& path)
{
    const std::string bytes = utf8ToWindows1252(text);
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failure(errno, path);

    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    // The temporary file is private; the report is as readable as any file the user writes.
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return failure(error, path);
    }
    return {};
}

} // namespace zelvan
