#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "clientdb/WorkingSetSaver.h"

namespace zelvan {

// zelvan-konverter convert --format N --db PATH [--bankfile PATH] [--festabzug] [--ohne-iban]
//                          [--bankname] [--protokoll aus|hinweise|alle]
int runConvertCommand(const std::vector<std::string>& args, CommandEnvironment& env);

// The exit status after a save: 0 all saved, 3 committed with rows left out, 1 nothing saved.
int convertExitStatus(const SaveOutcome& saved);

} // namespace zelvan
