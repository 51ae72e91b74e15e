#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "clientdb/WorkingSetSaver.h"

namespace zelvan {

// zelvan-konverter convert --format N --db PATH [--bankfile PATH] [--festabzug] [--ohne-iban]
//                          [--bankname] [--pruefziffer] [--protokoll aus|hinweise|alle] [--ohne-sicherung]
//                          [--probelauf]
// zelvan-konverter convert --format N --alle ORDNER [the same options but --festabzug]: every database of
// the format under the folder (runConvertFolder).
// Every database file is copied into Sicherung_ZELVAN beside it before its first change, unless
// --ohne-sicherung; the copies are named on standard error.
int runConvertCommand(const std::vector<std::string>& args, CommandEnvironment& env);

// The exit status after a save: 0 all saved, 3 committed with rows left out, 1 nothing saved.
int convertExitStatus(const SaveOutcome& saved);

} // namespace zelvan
