#pragma once

#include <sqlite3.h>

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

// The first value of the first row of a statement on a database file, as text; empty when none.
inline std::string valueOf(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string value;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr)
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

} // namespace zelvan::test
