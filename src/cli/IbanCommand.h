#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace zelvan {

// zelvan-konverter iban [--bankfile PATH] [--format N] [--bankname]
int runIbanCommand(const std::vector<std::string>& args, CommandEnvironment& env);

} // namespace zelvan
