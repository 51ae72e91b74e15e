#pragma once

#include <string>

namespace zelvan {

// The folder that holds the running executable, with its trailing separator.
std::string programFolder(const char* argv0);

} // namespace zelvan
