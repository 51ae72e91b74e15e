#pragma once

#include <ostream>

namespace zelvan {

// Flushes a command's standard output and tells whether everything written to it arrived (a full
// disk, a closed pipe do not). When not, a German message goes to `err`, with the cause where the
// error number tells it: `writeError` when an earlier write failed, else the flush's own.
bool outputComplete(std::ostream& out, std::ostream& err, int writeError = 0);

} // namespace zelvan
