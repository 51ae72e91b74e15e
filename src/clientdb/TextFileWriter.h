#pragma once

#include <string>

namespace zelvan {

struct WriteResult {
    int errorNumber = 0;     // 0 on success
    std::string description; // German, when it failed
};

// Writes UTF-8 text as Windows-1252 to `path`, replacing the file. The text goes to a temporary
// file beside the target first, which then takes the target's place, so a failure never leaves
// half a file. With `permissionsOf` the file gets that file's read and write permissions and is
// never readable by more users than it (a report on a database readable by its owner only is
// itself readable by its owner only); the temporary file is never wider either.
WriteResult WriteTextFile(const std::string& text, const std::string& path, const std::string& permissionsOf = {});

// Writes UTF-8 text as it stands, after a byte-order mark by which spreadsheets know the encoding,
// in the same safe way; for files whose paths must stay true to the last character.
WriteResult WriteUtf8TextFile(const std::string& text, const std::string& path);

} // namespace zelvan
