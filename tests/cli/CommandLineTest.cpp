#include "cli/CommandLine.h"

#include <sstream>

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(CommandLine, help_lists_the_commands_in_german)
{
    for (const auto& args : {std::vector<std::string>{"--help"}, std::vector<std::string>{}}) {
        std::istringstream in;
        std::ostringstream out, err;
        CommandEnvironment env{in, out, err, "."};
        EXPECT_EQ(runCommandLine(args, env), 0);
        EXPECT_NE(out.str().find("zelvan-konverter iban"), std::string::npos);
        EXPECT_NE(out.str().find("Standardeingabe"), std::string::npos);
    }
}

TEST(CommandLine, unknown_command_is_a_usage_error)
{
    std::istringstream in;
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, "."};
    EXPECT_EQ(runCommandLine({"umwandeln"}, env), 2);
    EXPECT_NE(err.str().find("Unbekannter Befehl \"umwandeln\""), std::string::npos);
}

} // namespace
} // namespace zelvan
