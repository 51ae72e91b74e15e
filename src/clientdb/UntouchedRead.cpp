#include "clientdb/UntouchedRead.h"

#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

namespace zelvan {

namespace {

// Byte 18 of the file header (the write version) is 2 for a database in WAL mode.
constexpr std::size_t kWriteVersionOffset = 18;
constexpr char kWalVersion = 2;

bool inWalMode(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::array<char, kWriteVersionOffset + 1> header{};
    return in.read(header.data(), static_cast<std::streamsize>(header.size())) &&
           header[kWriteVersionOffset] == kWalVersion;
}

// A path as the path part of a file: URI; SQLite reads "%", "?" and "#" there as syntax.
std::string uriPath(const std::string& path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            const auto byte = static_cast<unsigned char>(c);
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0f];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

struct ConnectionCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};

} // namespace

std::string untouchedReadUri(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    const std::string file = ec ? path : absolute.string();
    const char* options = "mode=ro";
    // Changes in a -wal without its -shm cannot be read without making one: such a file is refused
    // rather than read as if they were not there.
    if (inWalMode(file)) {
        const auto walBytes = std::filesystem::file_size(file + "-wal", ec);
        const bool walInUse = (!ec && walBytes > 0) || std::filesystem::exists(file + "-shm", ec);
        options = walInUse ? "mode=ro&readonly_shm=1" : "immutable=1";
    }
    return "file://" + uriPath(file) + "?" + options;
}

std::string unchangingReadUri(const std::string& path)
{
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return "file://" + uriPath(ec ? path : absolute.string()) + "?mode=ro&immutable=1";
}

bool hasInterruptedChange(const std::string& path)
{
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(untouchedReadUri(path).c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const std::unique_ptr<sqlite3, ConnectionCloser> db(raw);
    if (rc != SQLITE_OK)
        return false;
    // A read-only connection refuses to play a journal back and says so.
    sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
    return sqlite3_extended_errcode(db.get()) == SQLITE_READONLY_ROLLBACK;
}

} // namespace zelvan
