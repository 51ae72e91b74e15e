#pragma once

#include <iosfwd>
#include <string>

#include "bankdir/BankDirectory.h"

namespace zelvan {

// Loads and checks the bank-code file for a headless command. A file that cannot be read or that
// the check refuses is an error: its German message goes to `err` (for the missing file of the
// program's folder with where the Bundesbank's file belongs) and the result is false. The bundled
// sample file loads, and `err` says that it is one.
bool loadBankFileForCommand(const std::string& path, const std::string& programFolder, BankDirectory& directory,
                            std::ostream& err);

} // namespace zelvan
