#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace zelvan::test {

// What a headless command left: its exit status and its two output streams.
struct CommandResult {
    int status;
    std::string out;
    std::string err;
};

// Runs one command in-process on `input`, with the bundled sample file as the program folder's.
inline CommandResult runCommand(const std::vector<std::string>& args, const std::string& input = {},
                                const std::string& programFolder = ZELVAN_SOURCE_DIR "/data/")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, programFolder};
    const int status = runCommandLine(args, env);
    return {status, out.str(), err.str()};
}

} // namespace zelvan::test
