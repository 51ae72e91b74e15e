#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zelvan {

// Exit statuses of the headless commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDatabaseError = 1;
inline constexpr int kExitUsage = 2;
// convert: the save was committed, but at least one row was not saved.
inline constexpr int kExitRowsNotSaved = 3;
// convert: the save was committed, but a report, the summary file or standard output was not written.
inline constexpr int kExitReportNotWritten = 4;

struct CommandEnvironment {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    std::string programFolder; // where the bundled bank-code file lies
};

// Runs one sub-command; `args` excludes the program name. Never throws.
int runCommandLine(const std::vector<std::string>& args, CommandEnvironment& env);

// The name the executable is called by.
inline constexpr const char* kProgramName = "zelvan-konverter";

// The German overview printed by --help.
std::string helpText();

// The line printed by --version: the program name and the version the protocol names.
std::string versionText();

} // namespace zelvan
