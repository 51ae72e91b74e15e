#include "iban/Iban.h"

#include <gtest/gtest.h>

#include "support/IbanCheck.h"

namespace zelvan {
namespace {

TEST(Mod97, folds_long_digit_strings_and_stays_in_range)
{
    EXPECT_EQ(Mod97(""), 0);
    EXPECT_EQ(Mod97("96"), 96);
    EXPECT_EQ(Mod97("97"), 0);
    EXPECT_EQ(Mod97("500604000000011404131400"), 2);
    EXPECT_EQ(Mod97("999999999999999999999999999999"), 84); // 10^30 - 1 mod 97
    // Characters other than digits fold as their distance from '0' and leave the remainder in range.
    EXPECT_EQ(Mod97("12345678A9"), 91);
    for (const char* text : {"12A4", "  ", "\xFF\x80", "-1", "ÄÖÜ"}) {
        const int r = Mod97(text);
        EXPECT_GE(r, 0) << text;
        EXPECT_LE(r, 96) << text;
    }
}

TEST(IBANBilden, forms_the_iban_table)
{
    struct Case {
        const char* blz;
        const char* account;
        const char* iban;
    };
    const Case cases[] = {
        {"50060400", "11404", "DE96500604000000011404"},
        {"50060400", "1234567", "DE91500604000001234567"},
        {"50060400", "1", "DE02500604000000000001"},  // remainder 96
        {"50060400", "37", "DE97500604000000000037"}, // remainder 1
        {"50060400", "19", "DE98500604000000000019"}, // remainder 0
        {"50060400", "1 23 45 67", "DE91500604000001234567"},
        {"5006 0400", "1234567", "DE91500604000001234567"},
        {"50060400", "", "DE29500604000000000000"},
        {"10010010", "12345678901", "DE43100100102345678901"}, // the last 10 of 11 digits
    };
    for (const auto& c : cases) {
        const auto iban = IBANBilden(c.blz, c.account);
        EXPECT_EQ(iban, c.iban) << c.blz << " / " << c.account;
        EXPECT_EQ(iban.size(), 22u);
        EXPECT_TRUE(test::hasValidIbanCheckDigits(iban)) << iban;
    }
}

TEST(UsableAccountNumber, accepts_only_digit_strings_of_at_most_ten_significant_digits)
{
    struct Case {
        const char* account;
        bool usable;
    };
    const Case cases[] = {
        {"11404", true}, {"1234567890", true}, {"0001234567890", true}, // leading zeros do not count
        {"12 34", true}, {" 1 ", true},        {"12345678901", false},  {"", false},
        {"   ", false},  {"0", false},         {"0000000000", false},   {"12 AB 45", false},
        {"-123", false}, {"12\t34", false},    {"１２３", false}, // full-width digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(isUsableAccountNumber(c.account), c.usable) << '"' << c.account << '"';
}

} // namespace
} // namespace zelvan
