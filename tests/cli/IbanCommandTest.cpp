#include "cli/IbanCommand.h"

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "bankdir/BankCodeFile.h"
#include "support/DamagedBankFiles.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

const std::string kSampleFolder = ZELVAN_SOURCE_DIR "/data/";
// What every run on the bundled sample file says on standard error.
const std::string kOnSample = "Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.\n";

using Result = test::CommandResult;

Result runIban(const std::string& input, std::vector<std::string> options = {})
{
    options.insert(options.begin(), "iban");
    return test::runCommand(options, input, kSampleFolder);
}

TEST(IbanCommand, converts_each_line_into_the_six_columns)
{
    struct Case {
        const char* input;
        const char* output;
    };
    const Case cases[] = {
        {"50060400;11404\n", "50060400;11404;BZBKDEFFXXX;DE96500604000000011404;;\n"},
        // An editor's byte-order mark before the first line.
        {"\uFEFF50060400;11404\n", "50060400;11404;BZBKDEFFXXX;DE96500604000000011404;;\n"},
        // An 8-character BIC keeps its padding.
        {"10020030;1234567\n", "10020030;1234567;UEBBDEB1   ;DE73100200300001234567;;\n"},
        // Split at the first ";" only; no trimming; a field with ";" comes back quoted.
        {"50060400;11;404\n",
         "50060400;\"11;404\";BZBKDEFFXXX;;9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.;\n"},
        {"50060400;1\"2\r3\n",
         "50060400;\"1\"\"2\r3\";BZBKDEFFXXX;;9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.;\n"},
        {" 50060400;11404\n", " 50060400;11404;;;3-BLZ ist nicht im Bundesbank-Bestand;\n"},
        {"50060400\n", "50060400;;BZBKDEFFXXX;;9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.;\n"},
        {"\n", ";;;;5-BLZ ist nicht 8-stellig;\n"},
        {"30040050;1\n", "30040050;1;PRUEDEDDXXX;;4-BLZ ohne IBAN-Ermittlung;\n"},
        {"40050060;1234567\n",
         "40050060;1234567;NEUBDEMMXXX;DE19400500700001234567;103-Die gespeicherte BLZ wurde gelöscht und durch eine "
         "Nachfolge-BLZ ersetzt;\n"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const auto result = runIban(c.input);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, c.output) << c.input;
        EXPECT_EQ(result.err, kOnSample);
    }
}

TEST(IbanCommand, lines_across_read_blocks_stay_whole)
{
    // Rows of changing length over several MiB put every kind of line end across the reads'
    // block boundaries; one line is longer than the largest block, and the last has no line end.
    BankDirectory directory;
    ASSERT_TRUE(loadBankCodeFile(kSampleFolder + "ZELVANBLZ4.txt", directory).ok);
    std::string input;
    std::string expected;
    const std::string longAccount(3 << 20, '7');
    for (int i = 0; input.size() < (5u << 20); ++i) {
        const std::string account = i == 1000 ? longAccount : std::string(static_cast<std::size_t>(i % 23), '1');
        input += "99999999;" + account + (i % 3 == 0 ? "\r\n" : "\n");
        expected += "99999999;" + account + ";;;3-BLZ ist nicht im Bundesbank-Bestand;\n";
    }
    input += "50060400;11404";
    expected += "50060400;11404;BZBKDEFFXXX;DE96500604000000011404;;\n";
    std::istringstream in(input);
    std::ostringstream out;
    convertIbanInput(in, directory, {}, out);
    EXPECT_TRUE(out.str() == expected);
}

TEST(IbanCommand, options_choose_format_and_bank_name)
{
    EXPECT_EQ(runIban("50060400;\n", {"--format", "4"}).out, "50060400;;BZBKDEFFXXX;;;\n");
    // Umlauts come out as UTF-8.
    EXPECT_EQ(runIban("30040050;1\n", {"--bankname"}).out,
              "30040050;1;PRUEDEDDXXX;;4-BLZ ohne IBAN-Ermittlung;Prüfbank Düsseldorf\n");
    EXPECT_EQ(runIban("20030040;1\n", {"--bankname", "--format=3"}).out,
              "20030040;1;LERBDEHH   ;DE11200300400000000001;;Lernbank Hamburg\n");
}

TEST(IbanCommand, pruefziffer_refuses_accounts_with_a_wrong_check_digit)
{
    const std::string input = "10020030;1000\n10020030;1008\n";
    const auto checked = runIban(input, {"--pruefziffer"});
    EXPECT_EQ(checked.status, 0);
    EXPECT_EQ(checked.err, kOnSample);
    EXPECT_EQ(checked.out, "10020030;1000;UEBBDEB1   ;;10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer "
                           "prüfen.;\n"
                           "10020030;1008;UEBBDEB1   ;DE52100200300000001008;;\n");
    // Without the option the typing error becomes an IBAN, as before.
    EXPECT_EQ(runIban("10020030;1000\n").out, "10020030;1000;UEBBDEB1   ;DE74100200300000001000;;\n");
}

TEST(IbanCommand, refuses_bad_arguments_and_a_missing_bank_file)
{
    test::TempDir dir;
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        {{"--format", "5"}, "Ungültiges Format"},
        {{"--format"}, "braucht einen Wert"},
        {{"--gibtsnicht"}, "Unbekanntes Argument"},
        {{"--bankfile", (dir.path() / "fehlt.txt").string()}, "Die BLZ-Datei kann nicht gelesen werden."},
    };
    for (const auto& c : cases) {
        const auto result = runIban("50060400;11404\n", c.options);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
}

TEST(IbanCommand, a_refused_bank_file_stops_the_command_before_any_row)
{
    test::TempDir dir;
    const auto damaged = test::damagedBankFile("utf-8", ZELVAN_SHARED_BANKFILE, kSampleFolder + "ZELVANBLZ4.txt");
    const auto path = dir.write("blz.txt", damaged.content);

    const auto result = runIban("50060400;11404\n", {"--bankfile", path});

    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Die BLZ-Datei \"" + path + "\" wird nicht verwendet. " + damaged.problem + "\n");
}

TEST(IbanCommand, without_a_bank_file_in_the_program_folder_it_says_where_it_belongs)
{
    test::TempDir dir;
    const auto folder = dir.path().string() + "/";
    const auto result = test::runCommand({"iban"}, "50060400;11404\n", folder);

    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"" + folder +
                              "ZELVANBLZ4.txt\" wurde nicht gefunden. Die BLZ-Datei der Bundesbank mit IBAN-Regeln "
                              "gehört als \"ZELVANBLZ4.txt\" in den Programmordner \"" +
                              folder + "\".\n");
}

} // namespace
} // namespace zelvan
