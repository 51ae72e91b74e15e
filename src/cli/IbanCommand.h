#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "bankdir/BankDirectory.h"
#include "cli/CommandLine.h"
#include "iban/ConversionRun.h"

namespace zelvan {

// zelvan-konverter iban [--bankfile PATH] [--format N] [--bankname]
int runIbanCommand(const std::vector<std::string>& args, CommandEnvironment& env);

// The body of the iban command: every input line (`BLZ;Kontonummer`) converted with the directory
// and written as one output line `BLZ;Kontonummer;BIC;IBAN;Hinweis;Bankname`. Stops at the first
// write that fails and returns its error number (0 when none did or none was known).
int convertIbanInput(std::istream& in, const BankDirectory& directory, const ConversionOptions& options,
                     std::ostream& out);

} // namespace zelvan
