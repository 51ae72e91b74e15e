#pragma once

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace zelvan {

// zelvan-konverter pruefen [--bankfile PATH]: reads "BLZ;Kontonummer" lines and writes
// "BLZ;Kontonummer;Methode;Ergebnis", the verdict the check-digit option of a conversion uses.
int runPruefenCommand(const std::vector<std::string>& args, CommandEnvironment& env);

} // namespace zelvan
