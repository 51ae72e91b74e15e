#include "iban/Iban.h"

#include <gtest/gtest.h>

#include "support/IbanCheck.h"

namespace zelvan {
namespace {

TEST(Mod97, folds_long_digit_strings)
{
    EXPECT_EQ(Mod97(""), 0);
    EXPECT_EQ(Mod97("96"), 96);
    EXPECT_EQ(Mod97("97"), 0);
    EXPECT_EQ(Mod97("500604000000011404131400"), 2);
    EXPECT_EQ(Mod97("999999999999999999999999999999"), 84); // 10^30 - 1 mod 97
}

TEST(Mod97, agrees_with_digit_by_digit_folding_for_every_length_and_mixed_text)
{
    auto slowMod97 = [](std::string_view text) {
        int r = 0;
        for (const char c : text) {
            r = (r * 10 + (c - '0')) % 97;
            if (r < 0)
                r += 97;
        }
        return r;
    };
    std::string text;
    for (int length = 0; length < 40; ++length) {
        EXPECT_EQ(Mod97(text), slowMod97(text)) << text;
        const std::string mixed = text + "A" + text;
        EXPECT_EQ(Mod97(mixed), slowMod97(mixed)) << mixed;
        text += static_cast<char>('0' + (length * 7 + 3) % 10);
    }
}

TEST(Mod97, stays_in_range_for_characters_other_than_digits)
{
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
        {"50060400", "1", "DE02500604000000000001"},   // remainder 96
        {"50060400", "37", "DE97500604000000000037"},  // remainder 1
        {"50060400", "19", "DE98500604000000000019"},  // remainder 0
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

TEST(IBANBilden, check_digits_are_valid_for_every_account_length)
{
    std::string account;
    for (char digit = '1'; account.size() < 10; digit = digit == '9' ? '0' : static_cast<char>(digit + 1)) {
        account += digit;
        const auto iban = IBANBilden("76026000", account);
        EXPECT_TRUE(test::hasValidIbanCheckDigits(iban)) << iban;
        EXPECT_TRUE(iban.ends_with(zeroFillTo10(account)));
    }
}

TEST(ZeroFill, pads_or_keeps_the_rightmost_ten)
{
    EXPECT_EQ(zeroFillTo10(""), "0000000000");
    EXPECT_EQ(zeroFillTo10("1234567"), "0001234567");
    EXPECT_EQ(zeroFillTo10("1234567890"), "1234567890");
    EXPECT_EQ(zeroFillTo10("991234567890"), "1234567890");
}

TEST(UsableAccountNumber, accepts_only_digit_strings_of_at_most_ten_significant_digits)
{
    struct Case {
        const char* account;
        bool usable;
    };
    const Case cases[] = {
        {"11404", true},
        {"1234567890", true},
        {"0001234567890", true}, // leading zeros do not count
        {"12 34", true},
        {" 1 ", true},
        {"12345678901", false},
        {"", false},
        {"   ", false},
        {"0", false},
        {"0000000000", false},
        {"12 AB 45", false},
        {"-123", false},
        {"12\t34", false},
        {"１２３", false}, // full-width digits
    };
    for (const auto& c : cases)
        EXPECT_EQ(isUsableAccountNumber(c.account), c.usable) << '"' << c.account << '"';
}

} // namespace
} // namespace zelvan
