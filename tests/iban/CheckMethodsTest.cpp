#include "iban/CheckMethods.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zelvan {
namespace {

AccountDigits digitsOf(const std::string& account)
{
    const auto digits = AccountDigits::of(account);
    EXPECT_TRUE(digits.has_value()) << account;
    return digits.value_or(*AccountDigits::of("1"));
}

TEST(AccountDigits, zero_fills_without_blanks_and_counts_significant_digits)
{
    struct Case {
        const char* account;
        const char* digits;
        int significant;
    };
    static constexpr Case kCases[] = {
        {"1", "0000000001", 1},
        {"0001234566", "0001234566", 7},
        {"12 34", "0000001234", 4},
        {" 1234567890 ", "1234567890", 10},
        {"000000000001234", "0000001234", 4},
    };
    for (const auto& c : kCases) {
        const auto digits = AccountDigits::of(c.account);
        ASSERT_TRUE(digits.has_value()) << c.account;
        EXPECT_EQ(digits->text(), c.digits) << c.account;
        EXPECT_EQ(digits->significant(), c.significant) << c.account;
    }
    EXPECT_EQ(digitsOf("1234567")[4], 1);
    EXPECT_EQ(digitsOf("1234567")[10], 7);
}

TEST(AccountDigits, refuses_what_cannot_stand_in_an_iban)
{
    for (const char* account : {"", " ", "0", "0000000000", "12345678901", "12a4", "-123", "1.5"})
        EXPECT_FALSE(AccountDigits::of(account).has_value()) << '"' << account << '"';
}

// One account and whether each variant of a method holds for it.
struct VariantCase {
    const char* account;
    bool first;
    bool second;
};

TEST(CheckMethods, method_63_examples_by_variant)
{
    // Standard / sub-account omitted.
    static constexpr VariantCase kCases[] = {
        {"46103891", true, false},                             // 0046103891: d8 = 9 by d2..d7
        {"668149843", true, false},  {"7287337", false, true}, // 0007287337: d10 by d4..d9
        {"39837", true, false},                                // valid by the standard variant only
        {"790854883", false, false}, {"8721181", false, false}, {"1234566", false, true},
        {"1234401", true, false},    {"9892593", false, false}, {"1234567890", false, false}, // d1 must be 0
    };
    for (const auto& c : kCases) {
        const auto digits = digitsOf(c.account);
        EXPECT_EQ(checkmethod::method63Standard(digits), c.first) << c.account;
        EXPECT_EQ(checkmethod::method63SubAccountOmitted(digits), c.second) << c.account;
        EXPECT_EQ(checkmethod::method63(digits), c.first || c.second) << c.account;
    }
}

TEST(CheckMethods, method_63_needs_d1_zero_and_the_omitted_variant_needs_d2_d3_zero)
{
    // 0046103891 holds by the standard variant; with d1 = 1 it must not.
    EXPECT_FALSE(checkmethod::method63Standard(digitsOf("1046103891")));
    // 0007287337 holds with the sub-account omitted; with d3 = 1 that variant is not tried.
    EXPECT_FALSE(checkmethod::method63SubAccountOmitted(digitsOf("0107287337")));
    EXPECT_FALSE(checkmethod::method63SubAccountOmitted(digitsOf("1007287337")));
}

TEST(CheckMethods, method_13_examples_by_step)
{
    // First step (d8) / shifted step (d10, only when d1 = d2 = 0).
    static constexpr VariantCase kCases[] = {
        {"89989870", true, false}, {"3324217959", true, false},  {"861609", false, true},   {"188759639", false, false},
        {"4218984", false, false}, {"2834994968", false, false}, {"15063100", true, false}, {"765519400", true, false},
        {"6175466", true, false},  {"617546600", false, false},  {"955770", false, false},  {"95577000", false, false},
    };
    for (const auto& c : kCases) {
        const auto digits = digitsOf(c.account);
        EXPECT_EQ(checkmethod::method13Standard(digits), c.first) << c.account;
        EXPECT_EQ(checkmethod::method13Shifted(digits), c.second) << c.account;
        EXPECT_EQ(checkmethod::method13(digits), c.first || c.second) << c.account;
    }
}

TEST(CheckMethods, method_76_refuses_account_types_1_2_3_and_5)
{
    // 0263192149 holds with type 0; the same digits behind every other type.
    for (int type = 0; type <= 9; ++type) {
        const auto digits = digitsOf(std::to_string(type) + "263192149");
        const bool invalidType = type == 1 || type == 2 || type == 3 || type == 5;
        EXPECT_EQ(checkmethod::method76Standard(digits), !invalidType) << type;
    }
    // The exception reads its type at d3: 0006029255 holds, 0016029255 and 0036029255 do not.
    EXPECT_FALSE(checkmethod::method76(digitsOf("0016029255")));
    EXPECT_FALSE(checkmethod::method76(digitsOf("0036029255")));
    EXPECT_TRUE(checkmethod::method76(digitsOf("0046029255")));
}

TEST(CheckMethods, method_06_and_c7)
{
    // 4803515617 holds by 06 only; 1234566 by 63; 1234567 by neither.
    EXPECT_TRUE(checkmethod::method06(digitsOf("4803515617")));
    EXPECT_FALSE(checkmethod::method63(digitsOf("4803515617")));
    EXPECT_TRUE(checkmethod::methodC7(digitsOf("4803515617")));
    EXPECT_TRUE(checkmethod::methodC7(digitsOf("1234566")));
    EXPECT_FALSE(checkmethod::methodC7(digitsOf("1234567")));
    // Remainders 0 (S = 11) and 1 (S = 12) both give check digit 0; remainder 2 gives 9.
    EXPECT_TRUE(checkmethod::method06(digitsOf("140")));
    EXPECT_TRUE(checkmethod::method06(digitsOf("60")));
    EXPECT_FALSE(checkmethod::method06(digitsOf("61")));
    EXPECT_TRUE(checkmethod::method06(digitsOf("19")));
    EXPECT_FALSE(checkmethod::method06(digitsOf("10")));
}

// What our own methods answer; no value: the account is left to the library.
constexpr std::optional<CheckVerdict> kOk = CheckVerdict::Valid;
constexpr std::optional<CheckVerdict> kWrong = CheckVerdict::Invalid;
constexpr std::optional<CheckVerdict> kWithout = CheckVerdict::NoCheckDigit;
constexpr std::optional<CheckVerdict> kLibrary = std::nullopt;

// A method, an account and what our own methods say of it.
struct VerdictCase {
    const char* method;
    const char* account;
    std::optional<CheckVerdict> verdict;
};

TEST(CheckMethods, verdicts_of_the_own_methods)
{
    static constexpr VerdictCase kCases[] = {
        // 63 and 13 (examples of the Bundesbank's methods at 10070000 and 10040000).
        {"63", "39837", kOk},
        {"63", "790854883", kWrong},
        {"13", "2834994968", kWrong},
        {"13", "861609", kOk},
        // 78: exactly eight digits carry no check digit.
        {"78", "12345678", kWithout},
        {"78", "2094965841", kOk},
        {"78", "3210093", kOk},
        {"78", "5047186", kWrong},
        {"78", "385434080", kWrong},
        // 50, including sub-accounts written without their zeros.
        {"50", "6822940276", kOk},
        {"50", "6242499", kOk},
        {"50", "791423", kOk},
        {"50", "623795756", kWrong},
        {"50", "7167671986", kWrong},
        // 50: three zeros allow only the shift by three; else the first form whose zeros fit.
        {"50", "8170", kWrong},
        {"50", "52811990", kOk},
        {"50", "43226653", kWrong},
        {"50", "74851000", kWrong},
        {"50", "607464200", kOk},
        {"50", "920973509", kWrong},
        // B1, C2, E4: any variant.
        {"B1", "99023053", kOk},
        {"B1", "6635243373", kWrong},
        {"C2", "34522278", kOk},
        {"C2", "9564", kWrong},
        {"E4", "6508318911", kOk},
        {"E4", "758238372", kOk},
        {"E4", "4316", kOk},
        {"E4", "8328492867", kWrong},
        {"E4", "35641891", kWrong},
        // 68: length classes.
        {"68", "8909425760", kOk},
        {"68", "8908425760", kWrong}, // ten digits need a 9 at d4
        {"68", "411406142", kWithout},
        {"68", "400000000", kWithout},
        {"68", "499999999", kWithout},
        {"68", "537415344", kOk},
        {"68", "31971", kWrong}, // fewer than six digits
        {"68", "9426688707", kWrong},
        // 16: remainder 1 asks for d9 = d10 (S of "6x" is 12).
        {"16", "66", kOk},
        {"16", "60", kWrong},
        {"16", "19", kOk},
        {"16", "18", kWrong},
        // 06: remainder 1 gives check digit 0.
        {"06", "60", kOk},
        {"06", "66", kWrong},
        // 81: method 32 on d4..d9 unless d3 is 9; d1 does not count.
        {"81", "19", kOk},
        {"81", "1000000019", kOk},
        {"81", "18", kWrong},
        {"81", "0090000019", kLibrary},
        // B6 hands every account to the library's 20 or 53; 53 needs nine digits.
        {"B6", "1234567890", kLibrary},
        {"B6", "12345678", kWrong},
        {"B6", "123456789", kLibrary},
        {"09", "1234567890", kWithout},
        {"00", "1234567890", kLibrary},
    };
    for (const auto& c : kCases) {
        const auto digits = AccountDigits::of(c.account);
        ASSERT_TRUE(digits.has_value()) << c.account;
        EXPECT_EQ(checkmethod::checkAccount(c.method, *digits).verdict, c.verdict) << c.method << " " << c.account;
    }
}

TEST(CheckMethods, library_methods_that_b6_and_81_hand_accounts_to)
{
    struct Case {
        const char* method;
        const char* account;
        const char* libraryMethod;
    };
    static constexpr Case kCases[] = {
        {"B6", "1234567890", "20"}, {"B6", "0269100000", "20"}, {"B6", "0269999999", "20"}, {"B6", "0269099999", "53"},
        {"B6", "0270000000", "53"}, {"B6", "0123456789", "53"}, {"81", "0090000019", "81"}, {"00", "1", "00"},
    };
    for (const auto& c : kCases) {
        const auto answer = checkmethod::checkAccount(c.method, *AccountDigits::of(c.account));
        EXPECT_FALSE(answer.verdict.has_value()) << c.method << " " << c.account;
        EXPECT_EQ(answer.libraryMethod, c.libraryMethod) << c.method << " " << c.account;
    }
}

} // namespace
} // namespace zelvan
