#include "cli/CommandLine.h"

#include <sstream>

#include <gtest/gtest.h>

#include "clientdb/SaveReport.h"
#include "support/TempDir.h"

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

TEST(CommandLine, help_names_the_version_option)
{
    std::istringstream in;
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, "."};
    EXPECT_EQ(runCommandLine({"--help"}, env), 0);
    EXPECT_NE(out.str().find("zelvan-konverter --version"), std::string::npos) << out.str();
}

TEST(CommandLine, help_names_every_exit_status)
{
    std::istringstream in;
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, "."};
    EXPECT_EQ(runCommandLine({"--help"}, env), 0);
    EXPECT_NE(out.str().find("Exit-Status:\n"
                             "  0  fertig\n"
                             "  1  eine Datenbank oder Ausgabe konnte nicht geöffnet, gelesen oder geschrieben werden\n"
                             "  2  falsche Argumente oder unbrauchbare BLZ-Datei\n"
                             "  3  gespeichert, aber einzelne Datensätze nicht (in der Zusammenfassung genannt)\n"),
              std::string::npos)
        << out.str();
}

// The version on the command line is the one the protocol of a save names in its first line.
TEST(CommandLine, version_prints_the_program_name_and_the_protocol_version)
{
    test::TempDir dir;
    const auto database = (dir.path() / "MARL001.MDB").string();
    SaveReport report;
    report.Start("OPKontoNr", ProtocolOption::HintsOnly);
    report.Finish({}, {"Format: Marlo OP  Datei: " + database, database, "/nirgends/", "06.12.2026 14:05:09"});
    const std::string prefix = "Automatische Konvertierung Zelvan Konverter Version: ";
    const auto& protocol = report.protocolText();
    ASSERT_TRUE(protocol.starts_with(prefix)) << protocol;
    const auto protocolVersion = protocol.substr(prefix.size(), protocol.find("\r\n") - prefix.size());
    EXPECT_EQ(protocolVersion, "1.0");

    std::istringstream in;
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, "."};
    EXPECT_EQ(runCommandLine({"--version"}, env), 0);
    EXPECT_EQ(out.str(), "zelvan-konverter " + protocolVersion + "\n");
    EXPECT_EQ(err.str(), "");
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
