#include "clientdb/TextFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/ByteOrderMark.h"
#include "core/SystemErrorCause.h"
#include "core/Windows1252.h"

namespace zelvan {

namespace {

// A report without a file to take its permissions from is as readable as any file the user writes.
constexpr mode_t kDefaultMode = 0644;
constexpr mode_t kPrivateMode = 0600;
constexpr mode_t kReadWriteBits = 0666;

WriteResult failure(int number, const std::string& path)
{
    const int known = number == 0 ? EIO : number;
    return {known, "Die Datei \"" + path + "\" kann nicht geschrieben werden: " + systemErrorCause(known)};
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

WriteResult writeBytes(const std::string& bytes, const std::string& path, const std::string& permissionsOf)
{
    // The permissions are settled before the file exists under its name, so the text is never
    // readable by more users than it will be.
    mode_t mode = kDefaultMode;
    if (!permissionsOf.empty()) {
        struct stat reference {};
        mode = ::stat(permissionsOf.c_str(), &reference) == 0 ? (reference.st_mode & kReadWriteBits) : kPrivateMode;
    }
    std::string temporary = path + ".XXXXXX";
    // mkstemp makes the file readable and writable by its owner only.
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return failure(errno, path);

    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
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

} // namespace

WriteResult WriteTextFile(const std::string& text, const std::string& path, const std::string& permissionsOf)
{
    return writeBytes(utf8ToWindows1252(text), path, permissionsOf);
}

WriteResult WriteUtf8TextFile(const std::string& text, const std::string& path)
{
    return writeBytes(std::string(kUtf8ByteOrderMark) + text, path, {});
}

} // namespace zelvan
