#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelvan {

// The ending of the temporary file a text is written to before it takes its name: unmistakably the
// program's own, so that removing what killed runs left never meets a user's file.
inline constexpr std::string_view kTemporarySuffix = ".zelvan-tmp";

// The temporary file beside `path` that this process writes before the text takes that name.
std::string temporaryPathOf(const std::string& path);

// Removes from `folder` the temporary files that killed runs left; those a running write holds stay.
void removeTemporaryLeftovers(const std::string& folder);

struct WriteResult {
    int errorNumber = 0;     // 0 on success
    std::string description; // German, when it failed
};

// Writes UTF-8 text as Windows-1252 to `path`, replacing the file. The text goes to a temporary
// file beside the target first, held by this run until it takes the target's place, so a failure
// never leaves half a file; what killed runs left in the folder goes first. With `permissionsOf`
// the file gets that file's read and write permissions and is never readable by more users than it
// (a report on a database readable by its owner only is itself readable by its owner only); the
// temporary file is never wider either.
WriteResult WriteTextFile(const std::string& text, const std::string& path, const std::string& permissionsOf = {});

// Writes UTF-8 text as it stands, after a byte-order mark by which spreadsheets know the encoding,
// in the same safe way; for files whose paths must stay true to the last character. The file gets
// the read and write permissions that every one of `permissionsOf` has, less the umask: a summary
// of several databases is readable by no user who cannot read each of them.
WriteResult WriteUtf8TextFile(const std::string& text, const std::string& path,
                              const std::vector<std::string>& permissionsOf = {});

} // namespace zelvan
