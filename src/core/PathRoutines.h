#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// Appends a separator unless the path already ends in one. Both "\" and "/" count as
// separators; the one appended is the kind the path already uses, else the platform's own.
std::string WithBackslash(std::string_view path);

// The folder part of a path, with its trailing separator ("" when the path has no folder).
std::string FolderOfPath(std::string_view path);

} // namespace zelvan
