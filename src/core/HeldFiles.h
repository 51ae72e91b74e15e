#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zelvan {

// A file the program is writing holds an exclusive flock for as long as it writes. What is left of
// such a file after a run was killed holds none, so it can be told from one being written.

// Creates `path` (never replacing a file) with `mode`, takes its exclusive flock and returns the
// open descriptor; -1 with errno set when it could not. The lock goes with the descriptor.
int createHeldFile(const std::string& path, unsigned mode);

// Removes every file in `folder` whose name `isOurs` accepts and on which no process holds a
// flock; the rest stay. Returns how many were removed. A folder that cannot be read removes none.
int removeLeftovers(const std::string& folder, const std::function<bool(std::string_view name)>& isOurs);

} // namespace zelvan
