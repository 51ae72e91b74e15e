#pragma once

#include <iosfwd>
#include <string>

#include "bankdir/BankDirectory.h"

namespace zelvan {

// Loads the bank-code file for a headless command. A file that cannot be read, or that holds
// no bank code at all (empty, binary, a different kind of text), is an error: its German
// message goes to `err` and the result is false.
bool loadBankFileForCommand(const std::string& path, BankDirectory& directory, std::ostream& err);

} // namespace zelvan
