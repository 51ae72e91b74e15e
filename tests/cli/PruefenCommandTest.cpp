#include "cli/PruefenCommand.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "CommandRun.h"

namespace zelvan {
namespace {

test::CommandResult runPruefen(const std::string& input, std::vector<std::string> options = {})
{
    options.insert(options.begin(), "pruefen");
    return test::runCommand(options, input);
}

TEST(PruefenCommand, answers_each_line_with_method_and_verdict_on_the_sample_file)
{
    // The first line begins with an editor's byte-order mark.
    const auto result = runPruefen("\uFEFF10020030;1008\n"
                                   "10020030;1000\r\n"
                                   "10020030;10 08\n"
                                   "10020030;\n"
                                   "10020030\n"
                                   "10020030;12;34\n"
                                   "99999999;1008\n"
                                   "10090000;1\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "10020030;1008;00;ok\n"
                          "10020030;1000;00;falsch\n"
                          "10020030;10 08;00;ok\n"
                          "10020030;;00;falsch\n"
                          "10020030;;00;falsch\n"
                          "10020030;\"12;34\";00;falsch\n"
                          "99999999;1008;;BLZ unbekannt\n"
                          "10090000;1;06;falsch\n");
}

TEST(PruefenCommand, bad_arguments_and_unusable_bank_files_exit_2)
{
    EXPECT_EQ(runPruefen("", {"--format", "1"}).status, 2);
    EXPECT_EQ(runPruefen("", {"--bankfile"}).status, 2);
    const auto missing = runPruefen("10020030;1008\n", {"--bankfile", "/nonexistent/blz.txt"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err, "");
}

// The examples of the Bundesbank's methods, at real banks of each method.
TEST(PruefenCommand, real_bank_file_examples)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE))
        GTEST_SKIP() << "no shared bank-code file";
    const auto result = runPruefen("10070000;39837\n"
                                   "36050105;12345678\n"
                                   "36050105;5047186\n"
                                   "20090700;6242499\n"
                                   "25950130;99023053\n"
                                   "21450000;9564\n"
                                   "20030000;411406142\n"
                                   "45050001;4316\n"
                                   "13091084;12345674\n",
                                   {"--bankfile", ZELVAN_SHARED_BANKFILE});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "10070000;39837;63;ok\n"
                          "36050105;12345678;78;ohne Prüfziffer\n"
                          "36050105;5047186;78;falsch\n"
                          "20090700;6242499;50;ok\n"
                          "25950130;99023053;B1;ok\n"
                          "21450000;9564;C2;falsch\n"
                          "20030000;411406142;68;ohne Prüfziffer\n"
                          "45050001;4316;E4;ok\n"
                          "13091084;12345674;06;ok\n");
    EXPECT_EQ(result.err, "");
}

} // namespace
} // namespace zelvan
