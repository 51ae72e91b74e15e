#include "cli/CommandLine.h"

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "clientdb/SaveReport.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

// Without arguments as with --help: the commands, the run over a folder, the version option and
// every exit status, in German.
TEST(CommandLine, help_lists_the_commands_options_and_exit_statuses_in_german)
{
    for (const auto& args : {std::vector<std::string>{"--help"}, std::vector<std::string>{}}) {
        const auto result = test::runCommand(args);
        EXPECT_EQ(result.status, 0);
        for (const char* part :
             {"zelvan-konverter iban", "Standardeingabe", "zelvan-konverter --version",
              "zelvan-konverter convert --format N --alle ORDNER [die Optionen von convert]",
              "Sammelprotokoll_ZELVAN_<Format>_<Startzeit>.csv",
              "Exit-Status:\n"
              "  0  fertig\n"
              "  1  eine Datenbank oder Ausgabe konnte nicht geöffnet, gelesen oder geschrieben werden\n"
              "  2  falsche Argumente oder unbrauchbare BLZ-Datei\n"
              "  3  gespeichert, aber einzelne Datensätze nicht (in der Zusammenfassung genannt)\n"})
            EXPECT_NE(result.out.find(part), std::string::npos) << part;
    }
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

    const auto result = test::runCommand({"--version"});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "zelvan-konverter " + protocolVersion + "\n");
    EXPECT_EQ(result.err, "");
}

TEST(CommandLine, unknown_command_is_a_usage_error)
{
    const auto result = test::runCommand({"umwandeln"});
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("Unbekannter Befehl \"umwandeln\""), std::string::npos);
}

} // namespace
} // namespace zelvan
