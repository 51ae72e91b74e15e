#include "iban/AccountCheckDigits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "bankdir/BankCodeFile.h"
#include "iban/ConversionHint.h"
#include "iban/ConversionRun.h"
#include "support/RuleTestDirectory.h"

namespace zelvan {
namespace {

const AccountCheckDigits& checker()
{
    static const AccountCheckDigits instance;
    return instance;
}

const std::string kHint10 = "10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer prüfen.";

TEST(AccountCheckDigits, method_00_accepts_the_right_check_digit_only)
{
    struct Case {
        const char* account;
        bool passes;
    };
    static constexpr Case kCases[] = {
        {"1008", true}, {"0000001008", true}, {"1000", false}, {"1001", false}, {"9290", true}, {"9291", false},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(checker().passes("10020030", c.account, "00"), c.passes) << c.account;
}

TEST(AccountCheckDigits, unknown_methods_pass_and_invalid_accounts_are_wrong)
{
    // Method codes that are no Bundesbank method have no check digit to be wrong.
    for (const char* method : {"", "0", "000", "  ", "ZZ", "a0", "0A", "F0"}) {
        EXPECT_FALSE(checker().knowsMethod(method)) << '"' << method << '"';
        EXPECT_EQ(checker().verdict("10020030", "1000", method), CheckVerdict::NoCheckDigit) << '"' << method << '"';
    }
    // What the conversion calls invalid (hint 9) is wrong; the library never sees it (it loops or
    // crashes on some of it). Blanks are left out as the conversion leaves them out.
    for (const char* account : {"-1000", "1000x", "12345678901", "", "0000000000"})
        EXPECT_EQ(checker().verdict("10020030", account, "00"), CheckVerdict::Invalid) << account;
    EXPECT_EQ(checker().verdict("10020030", "10 08", "00"), CheckVerdict::Valid);
    // Method 87 crashes the library when d4..d10 are zeros.
    for (const char* account : {"10000000", "100000000", "1000000000", "9990000000", "0010000000"})
        EXPECT_TRUE(checker().passes("60090800", account, "87")) << account;
}

// Conversion with the option on: banks with method "00", under various rules.
BankDirectory checkDirectory()
{
    return test::directoryOf({
        {"10020030", "000000"},
        {"10000490", "004900"},
        {"30060010", "004900"},
        {"10004901", "004901"},
        {"10000440", "004400"},
        {"10000360", "003600"},
        {"21050000", "000000"},
        {"10000990", "000000", "TESTDEFFXXX", "E9"},
    });
}

struct CheckCase {
    const char* name;
    const char* blz;
    const char* account;
    const char* iban;
    bool wrongCheckDigit;
};

class ConversionWithCheckDigits : public testing::TestWithParam<CheckCase> {};

TEST_P(ConversionWithCheckDigits, checks_accounts_as_stored_before_a_standard_iban)
{
    const auto& c = GetParam();
    static const BankDirectory directory = checkDirectory();
    ConversionOptions options;
    options.checkDigits = &checker();
    AccountRow row;
    row[AccountColumn::Blz] = c.blz;
    row[AccountColumn::Account] = c.account;
    convertRow(row, directory, options);
    EXPECT_EQ(row[AccountColumn::Iban], c.iban);
    if (c.wrongCheckDigit)
        EXPECT_EQ(row[AccountColumn::Hint], kHint10);
    else
        EXPECT_NE(row[AccountColumn::Hint], kHint10);
    EXPECT_EQ(row[AccountColumn::Bic], "TESTDEFFXXX");

    // Without the option the same account converts as before.
    AccountRow unchecked;
    unchecked[AccountColumn::Blz] = c.blz;
    unchecked[AccountColumn::Account] = c.account;
    convertRow(unchecked, directory, {});
    EXPECT_FALSE(unchecked[AccountColumn::Iban].empty());
    EXPECT_NE(unchecked[AccountColumn::Hint], kHint10);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ConversionWithCheckDigits,
    testing::Values(
        CheckCase{"right_digit_converts", "10020030", "1008", "DE52100200300000001008", false},
        CheckCase{"wrong_digit_gets_hint_10", "10020030", "1000", "", true},
        CheckCase{"blanks_and_zeros_are_left_out", "10020030", "00 1000", "", true},
        // Rule 0049: accounts beginning 92 to 99 carry no check digit.
        CheckCase{"rule_0049_account_from_92_is_not_checked", "10000490", "9200001000", "DE95100004909200001000",
                  false},
        CheckCase{"rule_004901_account_from_92_is_not_checked", "10004901", "9200001000", "DE56100049019200001000",
                  false},
        CheckCase{"rule_004901_other_accounts_are_checked", "10004901", "1000", "", true},
        // Rotated: "1234956789" fails method 00 as it stands.
        CheckCase{"rule_0049_rotated_account_is_not_checked", "30060010", "1234956789", "DE82300600109567891234",
                  false},
        // An account that the rule replaces is not the customer's to check.
        CheckCase{"replaced_account_is_not_checked", "10000440", "202", "DE54100004400002282022", false},
        // Rule 0036 checks the six digits itself, with or without the option.
        CheckCase{"rule_0036_checks_before_it_appends_zeros", "10000360", "123455", "DE30210500000123455000", false},
        CheckCase{"method_unknown_to_the_library_passes", "10000990", "1000", "DE64100009900000001000", false}),
    [](const testing::TestParamInfo<CheckCase>& param) { return std::string(param.param.name); });

TEST(ConversionWithCheckDigits, account_is_checked_by_the_method_of_the_bank_it_is_stored_with)
{
    // The deleted bank's method "00" has a check digit; the successor's method "09" has none.
    const auto directory = test::directoryOf(
        {{"40050060", "000000", "TESTDEFFXXX", "00", 'D', "40050070"}, {"40050070", "000000", "TESTDEFFXXX", "09"}});
    const auto wrong = test::convert(directory, "40050060", "1000", &checker());
    EXPECT_EQ(wrong.iban, "");
    EXPECT_EQ(wrong.hint, kHint10);
    const auto right = test::convert(directory, "40050060", "1008", &checker());
    EXPECT_EQ(right.iban, "DE95400500700000001008");
    EXPECT_EQ(right.hint, ConversionHint(HintNumber::SuccessorBlzUsed));
}


// The conversion gives hint 10 (from the option or from a rule's own check) only to an account
// that the verdict of its stored bank calls wrong, which is what the pruefen command prints.
TEST(ConversionWithCheckDigits, hint_10_only_where_the_verdict_is_wrong_at_every_real_bank)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE))
        GTEST_SKIP() << "no shared bank-code file";
    BankDirectory directory;
    ASSERT_TRUE(loadBankCodeFile(ZELVAN_SHARED_BANKFILE, directory).ok);
    const std::string hint10 = ConversionHint(HintNumber::WrongCheckDigit);
    std::mt19937 random(7);
    int rowsWithHint10 = 0;
    for (int bank = 1; bank <= directory.Count(); ++bank) {
        const auto& entry = directory.entry(bank);
        for (int i = 0; i < 40; ++i) {
            std::string account = std::to_string(1 + random() % 9);
            for (auto length = 1 + random() % 10; account.size() < length;)
                account += static_cast<char>('0' + random() % 10);
            const auto row = test::convert(directory, entry.blz, account, &checker());
            if (row.hint != hint10)
                continue;
            ++rowsWithHint10;
            EXPECT_EQ(checker().verdict(entry.blz, account, entry.checkMethod), CheckVerdict::Invalid)
                << entry.blz << " " << account;
        }
    }
    EXPECT_GT(rowsWithHint10, 10000);
}

} // namespace
} // namespace zelvan
