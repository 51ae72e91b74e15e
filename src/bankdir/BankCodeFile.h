#pragma once

#include <string>

#include "bankdir/BankDirectory.h"
#include "core/UserInterface.h"

namespace zelvan {

inline constexpr const char* kBankCodeFileName = "ZELVANBLZ4.txt";

// The bank-code file's full path in the program's folder.
std::string bankCodeFilePath(const std::string& programFolder);

// What became of a bank-code file.
struct BankFileResult {
    bool ok = false;      // read and checked; the directory holds its banks
    std::string error;    // otherwise: a German message that names the file and what is wrong
    bool missing = false; // the file does not exist
    bool sample = false;  // the bundled sample file: names and BICs are made up
    std::string path;
};

// Reads and checks a bank-code file into the directory. A file that cannot be read, or that the
// check refuses, leaves the directory empty.
BankFileResult loadBankCodeFile(const std::string& path, BankDirectory& directory);

// Where an installed program expects the Bundesbank's file, for a message about a missing one.
std::string bankFileBelongsIn(const std::string& programFolder);

// The load at the main window's first activation: reads the file from the program's folder and
// reports the count in the status line (0 for a file that is not used).
BankFileResult loadBankDirectory(const std::string& programFolder, BankDirectory& directory, UserInterface& ui);

} // namespace zelvan
