#pragma once

#include <string_view>

namespace zelvan {

// Whether the path names at least one file that is neither hidden nor a folder; a path with
// wildcards ("*", "?") counts when any such file matches it. False for an empty path and on
// any error.
bool FileExists(std::string_view path);

} // namespace zelvan
