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

// The exit status after a save: 1 nothing saved, else 4 when a report file or standard output was
// not written, else 3 when rows were left out, else 0.
int convertExitStatus(const SaveOutcome& saved, bool outputWritten = true);

} // namespace zelvan
