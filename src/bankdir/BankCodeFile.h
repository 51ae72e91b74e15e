#pragma once

#include <string>

#include "bankdir/BankDirectory.h"
#include "core/UserInterface.h"

namespace zelvan {

inline constexpr const char* kBankCodeFileName = "ZELVANBLZ4.txt";

// The bank-code file's full path in the program's folder.
std::string bankCodeFilePath(const std::string& programFolder);

// Reads a bank-code file into the directory. The result says whether the file could be read.
ScanResult loadBankCodeFile(const std::string& path, BankDirectory& directory);

// The load at the main window's first activation: reads the file from the program's folder and
// reports the count in the status line. A file that cannot be read shows only as the count 0.
void loadBankDirectory(const std::string& programFolder, BankDirectory& directory, UserInterface& ui);

} // namespace zelvan
