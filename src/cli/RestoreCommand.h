#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace zelvan {

// zelvan-konverter wiederherstellen --format N --db PATH [--kopie FILE]: lists the backup copies of
// a database, or puts one back.
int runRestoreCommand(const std::vector<std::string>& args, CommandEnvironment& env);

} // namespace zelvan
