#include "iban/RuleContext.h"

#include <gtest/gtest.h>

#include "iban/IbanRuleEngine.h"
#include "support/BankFileBuilder.h"

namespace zelvan {
namespace {

struct Fixture {
    Fixture(const std::string& account)
    {
        entry.blz = "50060400";
        entry.ruleCode = "002001";
        entry.bic = "BZBKDEFFXXX";
        row[AccountColumn::Blz] = entry.blz;
        row[AccountColumn::Account] = account;
    }
    BankDirectory directory;
    BankEntry entry;
    AccountRow row;
};

TEST(RuleContext, caveat_goes_with_the_iban)
{
    Fixture f("11404");
    RuleContext context(f.row, f.directory, f.entry, f.entry.blz);
    context.caveat(HintNumber::CheckDigitNotRecomputed);
    context.standardIban();
    EXPECT_EQ(f.row[AccountColumn::Iban], "DE96500604000000011404");
    EXPECT_EQ(f.row[AccountColumn::Hint], ConversionHint(HintNumber::CheckDigitNotRecomputed));
}

TEST(RuleContext, invalid_account_hint_wins_over_caveats_before_and_after)
{
    Fixture f("12 AB 45");
    RuleContext context(f.row, f.directory, f.entry, f.entry.blz);
    context.caveat(HintNumber::CheckDigitNotRecomputed);
    context.standardIban();
    context.caveat(HintNumber::BlzByAccountRange);
    context.overrideBic("OVERDEFFXXX");
    EXPECT_EQ(f.row[AccountColumn::Iban], "");
    EXPECT_EQ(f.row[AccountColumn::Hint], ConversionHint(HintNumber::InvalidAccountNumber));
    EXPECT_EQ(f.row[AccountColumn::Bic], "OVERDEFFXXX"); // BICs are written as the rule says
}

TEST(RuleContext, both_stored_and_substituted_account_must_be_usable)
{
    struct Case {
        const char* stored;
        const char* substituted;
        bool ibanFormed;
    };
    const Case cases[] = {
        {"300000", "18128012", true},
        {"12 AB", "18128012", false},   // a rule's replacement does not heal the stored number
        {"300000", "123456789012", false},
        {"135", "0990021440", true},
    };
    for (const auto& c : cases) {
        Fixture f(c.stored);
        RuleContext context(f.row, f.directory, f.entry, f.entry.blz);
        context.substituteAccount(c.substituted);
        context.standardIban();
        EXPECT_EQ(!f.row[AccountColumn::Iban].empty(), c.ibanFormed) << c.stored << " -> " << c.substituted;
        EXPECT_EQ(context.accountRejected(), !c.ibanFormed);
    }
}

TEST(RuleContext, fixed_iban_is_not_checked)
{
    Fixture f("");
    RuleContext context(f.row, f.directory, f.entry, f.entry.blz);
    context.fixedIban("DE96500604000000011404");
    EXPECT_EQ(f.row[AccountColumn::Iban], "DE96500604000000011404");
    EXPECT_EQ(f.row[AccountColumn::Hint], "");
}

TEST(RuleContext, refusal_names_the_rule_and_clears_the_iban)
{
    Fixture f("1234567");
    f.entry.ruleCode = "004200";
    RuleContext context(f.row, f.directory, f.entry, f.entry.blz);
    f.row[AccountColumn::Iban] = "DE00";
    context.refuse(HintNumber::EightDigitAccountsOnly);
    EXPECT_EQ(f.row[AccountColumn::Iban], "");
    EXPECT_EQ(f.row[AccountColumn::Hint], "8-IBAN-Berechnung nur möglich für 8-stellige Kontonummern, IBAN-Regel: 004200");
}

TEST(IbanRuleEngine, codes_are_unique_and_ascending)
{
    const auto rules = IbanRuleEngine::rules();
    for (std::size_t i = 1; i < rules.size(); ++i)
        EXPECT_LT(rules[i - 1].code, rules[i].code);
    for (const auto& rule : rules)
        EXPECT_EQ(rule.code.size(), 6u) << rule.code;
}

} // namespace
} // namespace zelvan
