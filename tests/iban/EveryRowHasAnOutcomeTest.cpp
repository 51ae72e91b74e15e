#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bankdir/BankCodeFile.h"
#include "iban/ConversionRun.h"
#include "iban/IbanRuleEngine.h"
#include "support/RuleTestDirectory.h"

namespace zelvan {
namespace {

// Accounts of 0 to 11 characters: plain digits, digits behind zeros, leading 8s and 9s (the
// ranges several rules treat apart), a blank inside, and a letter.
std::vector<std::string> accountsOfEveryLength()
{
    std::vector<std::string> accounts;
    for (std::size_t length = 0; length <= 11; ++length) {
        for (const std::string digits : {"12345678901", "00004769123", "89999999999", "99123456789", "10000000000",
                                         "50462000000", "8001234 567", "1234A678901"})
            accounts.push_back(digits.substr(0, length));
    }
    return accounts;
}

// Every bank of the directory and every account above: no row may end without an IBAN or a hint.
void expectAnOutcomeForEveryRow(const BankDirectory& directory, const AccountCheckDigits* checkDigits)
{
    const auto accounts = accountsOfEveryLength();
    int rowsWithoutOutcome = 0;
    for (int bank = 1; bank <= directory.Count(); ++bank) {
        const std::string& blz = directory.entry(bank).blz;
        for (const auto& account : accounts) {
            const auto row = test::convert(directory, blz, account, checkDigits);
            if (row.iban.empty() && row.hint.empty()) {
                if (++rowsWithoutOutcome <= 10)
                    ADD_FAILURE() << "no outcome: " << blz << " rule " << directory.entry(bank).ruleCode
                                  << " account \"" << account << "\"";
            }
        }
    }
    EXPECT_EQ(rowsWithoutOutcome, 0);
}

TEST(EveryRowHasAnOutcome, at_every_implemented_rule_and_an_unknown_one)
{
    // One bank per rule code, and the real BLZs that some rules single out.
    std::vector<test::TestBank> banks;
    int serial = 0;
    for (const auto& rule : IbanRuleEngine::rules())
        banks.push_back({std::to_string(20000000 + ++serial), std::string(rule.code)});
    for (const char* code : {"000000", "000100", "009900", "000504"})
        banks.push_back({std::to_string(20000000 + ++serial), code});
    for (const char* blz : {"10070000", "50070010", "76026000", "12080000", "70020270", "21050000", "50050201",
                            "62220000", "30060010", "38010111", "50810900", "68351976"})
        banks.push_back({blz, "000000"});
    const auto directory = test::directoryOf(banks);

    expectAnOutcomeForEveryRow(directory, nullptr);
    const AccountCheckDigits checkDigits;
    expectAnOutcomeForEveryRow(directory, &checkDigits);
}

TEST(EveryRowHasAnOutcome, at_every_bank_of_the_real_file)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE))
        GTEST_SKIP() << "no shared bank-code file";
    BankDirectory directory;
    ASSERT_TRUE(loadBankCodeFile(ZELVAN_SHARED_BANKFILE, directory).ok);
    expectAnOutcomeForEveryRow(directory, nullptr);
    const AccountCheckDigits checkDigits;
    expectAnOutcomeForEveryRow(directory, &checkDigits);
}

} // namespace
} // namespace zelvan
