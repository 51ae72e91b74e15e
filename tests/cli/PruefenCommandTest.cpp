#include "cli/PruefenCommand.h"

#include <filesystem>
#include <sstream>

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

// Fields 4 and 5 (IBAN, hint number) of each `iban` line, or fields 3 and 4 (method, result) of
// each `pruefen` line.
std::vector<std::string> columnsOf(const std::string& out, bool iban)
{
    std::vector<std::string> columns;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream fieldStream(line);
        for (std::string field; std::getline(fieldStream, field, ';');)
            fields.push_back(field);
        fields.resize(5);
        columns.push_back(iban ? fields[3] + ";" + fields[4].substr(0, fields[4].find('-'))
                               : fields[2] + ";" + fields[3]);
    }
    return columns;
}

// The real file through `iban` without and with --pruefziffer and through `pruefen`, which says what
// the option does: the banks' own checks (rule 0021, methods 50 and B6), pseudo accounts a rule
// replaces and rule-0049 accounts from 92 without check digit, current rule versions, deleted banks
// and their successors, and the rules of the big banks.
TEST(PruefenCommand, agrees_with_the_conversion_on_the_real_file)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE))
        GTEST_SKIP() << "no shared bank-code file";
    struct Case {
        const char* line;
        const char* plain;   // IBAN;hint number without the option
        const char* checked; // with --pruefziffer; null: as without
        const char* verdict;
    };
    static constexpr Case kCases[] = {
        {"64020186;61", ";10", nullptr, "99;falsch"},
        {"70020270;547546062", ";10", nullptr, "95;falsch"},
        {"20050000;251699", ";10", nullptr, "C5;falsch"},
        {"70020270;7777777", "DE40700202705800522694;102", nullptr, "95;ohne Prüfziffer"},
        {"60020290;502", "DE28600202904340118001;102", nullptr, "99;ohne Prüfziffer"},
        {"36020030;56", ";6", nullptr, "10;falsch"},
        {"20090700;8170", "DE87200907000000008170;", ";10", "50;falsch"},
        {"80053762;2", "DE83800537620000000002;", ";10", "B6;falsch"},
        {"57060000;9207427857", "DE07570600009207427857;", nullptr, "44;ohne Prüfziffer"},
        {"50864322;91", ";12", nullptr, "32;BLZ gelöscht"},
        {"10000000;1234400001", "DE22100000001234400001;", nullptr, "09;ohne Prüfziffer"},
        {"10000000;12300999", ";6", nullptr, "09;ohne Prüfziffer"},
        {"30060010;1234956789", "DE91300600101234956789;", ";10", "44;falsch"},
        {"13091084;1234567", "DE11130610780001234567;103", ";10", "06;falsch"},
        {"10060198;4769", ";4", nullptr, "06;falsch"},
        {"10070000;12344", "DE63100700000001234400;101", nullptr, "63;ok"},
        {"10020890;1000251670", "DE58760200701000251670;102", nullptr, "99;ok"},
        {"72020700;1341613", ";1", nullptr, "23;ok"},
    };
    std::string input;
    for (const auto& c : kCases)
        input += std::string(c.line) + "\n";
    const std::vector<std::string> bankFile = {"--bankfile", ZELVAN_SHARED_BANKFILE};
    std::vector<std::string> iban = {"iban", "--pruefziffer", bankFile[0], bankFile[1]};
    const auto checked = columnsOf(test::runCommand(iban, input).out, true);
    iban.erase(iban.begin() + 1);
    const auto plain = columnsOf(test::runCommand(iban, input).out, true);
    const auto verdicts = columnsOf(runPruefen(input, bankFile).out, false);
    ASSERT_EQ(verdicts.size(), std::size(kCases));
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const auto& c = kCases[i];
        EXPECT_EQ(plain[i], c.plain) << c.line;
        EXPECT_EQ(checked[i], c.checked ? c.checked : c.plain) << c.line;
        EXPECT_EQ(verdicts[i], c.verdict) << c.line;
    }
}

} // namespace
} // namespace zelvan
