#pragma once

#include <string>

namespace zelvan {

// The SHA-256 of a file's bytes as 64 lower-case hex digits, read through `fd` from its start or
// from the file at `path`. Empty when the file could not be read; `error` then holds the errno.
std::string sha256OfFile(int fd, int& error);
std::string sha256OfFile(const std::string& path, int& error);

} // namespace zelvan
