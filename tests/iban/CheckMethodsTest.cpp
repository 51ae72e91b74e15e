#include "iban/CheckMethods.h"

#include <gtest/gtest.h>

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

TEST(AccountDigits, appends_the_sub_account_zeros)
{
    const auto appended = digitsOf("12344").withZerosAppended();
    EXPECT_EQ(appended.text(), "0001234400");
    EXPECT_EQ(appended.significant(), 7);
    EXPECT_EQ(digitsOf("12345678").withZerosAppended().text(), "1234567800");
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

TEST(CheckMethods, method_76_examples_by_variant)
{
    // Standard / sub-account omitted (tried only when the standard variant fails).
    static constexpr VariantCase kCases[] = {
        {"6029255", false, true},
        {"917710", false, true},
        {"263192149", true, false},
        {"998162781", true, false},
    };
    for (const auto& c : kCases) {
        const auto digits = digitsOf(c.account);
        EXPECT_EQ(checkmethod::method76Standard(digits), c.first) << c.account;
        EXPECT_EQ(checkmethod::method76SubAccountOmitted(digits), c.second) << c.account;
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

} // namespace
} // namespace zelvan
