#pragma once

#include <string>

#include "bankdir/BankDirectory.h"
#include "batch/DatabaseConversion.h"
#include "clientdb/BackupLedger.h"

namespace zelvan {

// What "Alle konvertieren..." in the selection dialog takes from the main window: its bank
// directory and bank-code file, and its options as convert --alle takes them.
struct BatchSetup {
    const BankDirectory* directory = nullptr; // none: the run is not offered
    std::string bankFile;                     // the bank-code file's path, as the start dialog names it
    std::string bankFileError;                // why the bank-code file is not usable; empty when it is
    ConversionSettings settings;              // dryRun is set by the start dialog
    BackupLedger* backups = nullptr;          // the main window's copies, so that a file is copied once per session
};

} // namespace zelvan
