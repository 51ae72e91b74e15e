#pragma once

#include "bankdir/BankDirectory.h"
#include "batch/FolderConversion.h"
#include "cli/CommandLine.h"

namespace zelvan {

// convert --alle ORDNER: every database of the format under the folder, one after the other. One
// progress line per database (and Galdo pass) on standard error; the summary as ";"-separated lines
// on standard output, then the number found; the summary file goes into the folder. When none is
// found, only a message on standard error.
int runConvertFolder(const BatchOptions& options, const BankDirectory& directory, CommandEnvironment& env);

// The exit status of a folder run: 1 when no database was found or any failed (not opened, read or
// saved, not reached); else 4 when a report, the summary file or standard output was not written;
// else 3 when rows were left unsaved; else 0.
int folderExitStatus(const BatchSummary& summary, bool outputWritten = true);

} // namespace zelvan
