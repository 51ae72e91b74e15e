#include "core/Sha256.h"

#include <fcntl.h>
#include <openssl/evp.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <memory>

namespace zelvan {

namespace {

struct DigestFreer {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

constexpr char kHexDigits[] = "0123456789abcdef";

} // namespace

std::string sha256OfFile(int fd, int& error)
{
    error = 0;
    const std::unique_ptr<EVP_MD_CTX, DigestFreer> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
        error = ENOMEM;
        return {};
    }
    std::array<unsigned char, 1 << 16> buffer{};
    off_t offset = 0;
    for (;;) {
        const ssize_t count = ::pread(fd, buffer.data(), buffer.size(), offset);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            error = errno;
            return {};
        }
        if (count == 0)
            break;
        EVP_DigestUpdate(context.get(), buffer.data(), static_cast<std::size_t>(count));
        offset += count;
    }
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1) {
        error = ENOMEM;
        return {};
    }
    std::string hex;
    for (unsigned i = 0; i < length; ++i) {
        hex += kHexDigits[digest[i] >> 4];
        hex += kHexDigits[digest[i] & 0x0f];
    }
    return hex;
}

std::string sha256OfFile(const std::string& path, int& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return {};
    }
    auto hex = sha256OfFile(fd, error);
    ::close(fd);
    return hex;
}

} // namespace zelvan
