#pragma once

#include <string>

namespace zelvan {

// The program start without arguments: shows the main window and runs until it is closed.
int runMainWindow(int& argc, char** argv, const std::string& programFolder);

} // namespace zelvan
