#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace zelvan {

// zelvan-konverter convert --format N --db PATH [--bankfile PATH] [--festabzug] [--ohne-iban]
//                          [--bankname] [--protokoll aus|hinweise|alle]
int runConvertCommand(const std::vector<std::string>& args, CommandEnvironment& env);

} // namespace zelvan
