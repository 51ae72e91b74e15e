#include "clientdb/TextFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "core/ByteOrderMark.h"
#include "core/HeldFiles.h"
#include "core/PathRoutines.h"
#include "core/SystemErrorCause.h"
#include "core/Windows1252.h"

namespace zelvan {

namespace {

constexpr mode_t kPrivateMode = 0600;
constexpr mode_t kReadWriteBits = 0666;
// Taken when the umask cannot be read: readable by the owner only.
constexpr mode_t kUnknownUmask = 077;

// The process's umask, read without setting it: umask() would change it for a moment for every
// thread.
mode_t currentUmask()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:"))
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    }
    return kUnknownUmask;
}

// The read and write bits every one of the files has (a file whose mode cannot be read counts as
// readable by its owner only), less the umask.
mode_t sharedMode(const std::vector<std::string>& files)
{
    mode_t mode = kReadWriteBits;
    for (const auto& file : files) {
        struct stat reference {};
        mode &= ::stat(file.c_str(), &reference) == 0 ? (reference.st_mode & kReadWriteBits) : kPrivateMode;
    }
    return mode & ~currentUmask();
}

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

// The permissions are settled before the file exists under its name, so the text is never
// readable by more users than it will be.
WriteResult writeBytes(const std::string& bytes, const std::string& path, mode_t mode)
{
    const auto folder = FolderOfPath(path);
    removeTemporaryLeftovers(folder.empty() ? "." : folder);
    const auto temporary = temporaryPathOf(path);
    // Readable and writable by its owner only at first, and held until it has its name, so that
    // no other run takes it for a leftover.
    const int fd = createHeldFile(temporary, kPrivateMode);
    if (fd < 0)
        return failure(errno, path);

    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (ok && std::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok)
        ::unlink(temporary.c_str());
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    return ok ? WriteResult{} : failure(error, path);
}

} // namespace

std::string temporaryPathOf(const std::string& path)
{
    // The process number keeps two programs writing the same report apart.
    return path + "." + std::to_string(::getpid()) + std::string(kTemporarySuffix);
}

void removeTemporaryLeftovers(const std::string& folder)
{
    (void)removeLeftovers(folder, [](std::string_view name) { return name.ends_with(kTemporarySuffix); });
}

WriteResult WriteTextFile(const std::string& text, const std::string& path, const std::string& permissionsOf)
{
    mode_t mode = sharedMode({});
    if (!permissionsOf.empty()) {
        struct stat reference {};
        mode = ::stat(permissionsOf.c_str(), &reference) == 0 ? (reference.st_mode & kReadWriteBits) : kPrivateMode;
    }
    return writeBytes(utf8ToWindows1252(text), path, mode);
}

WriteResult WriteUtf8TextFile(const std::string& text, const std::string& path,
                              const std::vector<std::string>& permissionsOf)
{
    return writeBytes(std::string(kUtf8ByteOrderMark) + text, path, sharedMode(permissionsOf));
}

} // namespace zelvan
