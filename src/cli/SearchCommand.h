#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace zelvan {

// zelvan-konverter search --format N DIR
int runSearchCommand(const std::vector<std::string>& args, CommandEnvironment& env);

} // namespace zelvan
