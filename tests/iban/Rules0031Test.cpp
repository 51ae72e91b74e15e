#include <gtest/gtest.h>

#include "iban/Iban.h"
#include "iban/RuleCases.h"
#include "iban/Rules0031Tables.h"

namespace zelvan {
namespace {

using test::RuleCase;

// Every bank under test carries this BIC; the banks that accounts move to carry their own.
constexpr const char* kStoredBic = "TESTDEFFXXX";

constexpr const char* kHint102 =
    "102-Unicredit-Konten mit BLZ-Umsetzung nach Kontokreisen. Evtl. prüfen beim Kontoinhaber";
constexpr const char* kHint9 = "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.";
constexpr const char* kHint6Code003101 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003101";
constexpr const char* kHint6Code003200 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003200";
constexpr const char* kHint6Code003301 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003301";
constexpr const char* kHint6Code003400 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003400";
constexpr const char* kHint6Code003501 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003501";

const BankDirectory& rulesDirectory()
{
    static const BankDirectory directory = test::directoryOf({
        // Method 09 has no check digit: these banks test the ranges, not the bank's own check.
        {"10031010", "003101", kStoredBic, "09"},
        {"10032000", "003200", kStoredBic, "09"},
        {"10033010", "003301", kStoredBic, "09"},
        {"10034000", "003400", kStoredBic, "09"},
        {"10035010", "003501", kStoredBic, "09"},
        {"70020270", "003301", "ZIELDE70XXX", "09"},
        {"60020290", "003400", "ZIELDE60XXX", "09"},
        {"79020076", "003501", "ZIELDE79XXX", "09"},
        {"76420080", "000000", "ZIELDE76XXX"},
        {"10020890", "000000", "ZIELDE10XXX"},
        // 76020070 (key 100) is missing on purpose: its accounts get no BIC.
    });
    return directory;
}

TEST(Rules0031To0035, range_key_comes_from_the_first_three_digits_of_ten_digit_accounts_only)
{
    static constexpr RuleCase kCases[] = {
        // Rule 0031 refuses accounts under ten digits, rule 0033 keeps their BLZ.
        {"10031010", "123456789", "", kHint6Code003101, ""},
        {"10031010", "9696", "", kHint6Code003101, ""},
        {"10031010", "0123456789", "", kHint6Code003101, ""},
        {"10031010", "", "", kHint9, kStoredBic},
        {"10031010", "12345678901", "", kHint9, kStoredBic},
        {"10031010", "1234567890", "DE47764200801234567890", kHint102, "ZIELDE76XXX"},
        {"10033010", "123456789", "DE74100330100123456789", kHint102, kStoredBic},
        {"10033010", "502", "DE86100330100000000502", kHint102, kStoredBic},
        {"10033010", "1234567890", "DE47764200801234567890", kHint102, "ZIELDE76XXX"},
        // Rule 0032.
        {"10032000", "0123456789", "DE32100320000123456789", kHint102, kStoredBic},
        {"10032000", "1160000000", "DE24100320001160000000", kHint102, kStoredBic},
        {"10032000", "1234567", "DE80100320000001234567", kHint102, kStoredBic},
        {"10032000", "1000000000", "DE07760200701000000000", kHint102, ""},
        {"10032000", "7980000000", "DE82700202707980000000", kHint102, "ZIELDE70XXX"},
        {"10032000", "7990000000", "DE61100320007990000000", kHint102, kStoredBic},
        {"10032000", "0990000000", "DE85100320000990000000", kHint102, kStoredBic},
        {"10032000", "12", "DE82100320000000000012", kHint102, kStoredBic},
        {"10032000", "1", "DE88100320000000000001", kHint102, kStoredBic},
        {"10032000", "5020000000", "DE77100208905020000000", kHint102, "ZIELDE10XXX"},
        {"10032000", "50200 00000", "DE77100208905020000000", kHint102, "ZIELDE10XXX"},
        {"10032000", "1 23456789", "DE32100320000123456789", kHint102, kStoredBic},
        {"10032000", "12A4567890", "", kHint9, kStoredBic},
        {"10032000", "A234567890", "", kHint9, kStoredBic},
        {"10032000", "1234567890123", "", kHint9, kStoredBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

TEST(Rules0031To0035, keys_800_to_899_empty_the_blz_by_code_and_keys_900_to_999_keep_it)
{
    // Ten digits: keys 800-899 by code. Nine digits 800000000-899999999: refused except under 003301.
    static constexpr RuleCase kCases[] = {
        {"10031010", "8000000000", "DE25100310108000000000", kHint102, kStoredBic},
        {"10031010", "800000000", "", kHint6Code003101, ""},
        {"10032000", "8000000000", "DE46100320008000000000", kHint102, kStoredBic},
        {"10032000", "8999999999", "DE28100320008999999999", kHint102, kStoredBic},
        {"10032000", "8001234", "DE56100320000008001234", kHint102, kStoredBic},
        {"10032000", "800000000", "", kHint6Code003200, ""},
        {"10032000", "899999999", "", kHint6Code003200, ""},
        {"10032000", "799999999", "DE09100320000799999999", kHint102, kStoredBic},
        {"10032000", "900000000", "DE26100320000900000000", kHint102, kStoredBic},
        {"10032000", "9000000000", "DE98100320009000000000", kHint102, kStoredBic},
        {"10032000", "9999999999", "DE80100320009999999999", kHint102, kStoredBic},
        {"10033010", "8000000000", "", kHint6Code003301, ""},
        {"10033010", "8999999999", "", kHint6Code003301, ""},
        {"10033010", "800000000", "DE24100330100800000000", kHint102, kStoredBic},
        {"10033010", "899999999", "DE95100330100899999999", kHint102, kStoredBic},
        {"10034000", "8000000000", "", kHint6Code003400, ""},
        {"10034000", "8001234", "DE22100340000008001234", kHint102, kStoredBic},
        {"10034000", "800000000", "", kHint6Code003400, ""},
        {"10034000", "899999999", "", kHint6Code003400, ""},
        {"10035010", "8999999999", "", kHint6Code003501, ""},
        {"10035010", "899999999", "", kHint6Code003501, ""},
        {"10035010", "799999999", "DE17100350100799999999", kHint102, kStoredBic},
        {"10035010", "900000000", "DE34100350100900000000", kHint102, kStoredBic},
        {"70020270", "8000000000", "DE52700202708000000000", kHint102, "ZIELDE70XXX"},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

// Method 00: each pair fails, then passes it. The bank's check comes before the range table, the
// short and the 8xx refusals; the pseudo accounts it replaces (502 fails 00) are not checked.
TEST(Rules0031To0035, the_bank_checks_the_account_before_ranges_and_lengths)
{
    const auto directory = test::directoryOf({{"20031010", "003101"},
                                              {"20032000", "003200"},
                                              {"20034000", "003400"},
                                              {"64020186", "000000", "ZIELDE64XXX"},
                                              {"60020290", "003400", "ZIELDE60XXX"}});
    static constexpr const char* kHint10 = "10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer prüfen.";
    static constexpr RuleCase kCases[] = {
        {"20031010", "1234567", "", kHint10, kStoredBic},
        {"20031010", "1234566", "", kHint6Code003101, ""},
        {"20032000", "800000001", "", kHint10, kStoredBic},
        {"20032000", "800000002", "", kHint6Code003200, ""},
        {"20031010", "1420000001", "", kHint10, kStoredBic},
        {"20031010", "1420000000", "DE51640201861420000000", kHint102, "ZIELDE64XXX"},
        {"20034000", "8000000000", "", kHint10, kStoredBic},
        {"20034000", "8000000003", "", kHint6Code003400, ""},
        {"20034000", "502", "DE28600202904340118001", kHint102, "ZIELDE60XXX"},
    };
    const AccountCheckDigits checker;
    test::expectRuleCases(directory, kCases);
    test::expectRuleCases(directory, kCases, &checker);
}

TEST(Rules0033To0035, special_accounts_match_by_number_and_only_for_their_code)
{
    static constexpr RuleCase kCases[] = {
        {"10033010", "22222", "DE11700202705803435253", kHint102, "ZIELDE70XXX"},
        {"10033010", "0000022222", "DE11700202705803435253", kHint102, "ZIELDE70XXX"},
        {"10033010", "1111111", "DE88700202700039908140", kHint102, "ZIELDE70XXX"},
        {"10033010", "94", "DE83700202700002711931", kHint102, "ZIELDE70XXX"},
        {"10033010", "0000000094", "DE83700202700002711931", kHint102, "ZIELDE70XXX"},
        {"10033010", "7777777", "DE40700202705800522694", kHint102, "ZIELDE70XXX"},
        {"10033010", "55555", "DE61700202705801800000", kHint102, "ZIELDE70XXX"},
        {"10034000", "500500500", "DE82600202904340111112", kHint102, "ZIELDE60XXX"},
        {"10034000", "502", "DE28600202904340118001", kHint102, "ZIELDE60XXX"},
        {"10034000", "0000000502", "DE28600202904340118001", kHint102, "ZIELDE60XXX"},
        {"10034000", "9696", "DE92100340000000009696", kHint102, kStoredBic},
        {"10035010", "9696", "DE29790200761490196966", kHint102, "ZIELDE79XXX"},
        {"10035010", "0000009696", "DE29790200761490196966", kHint102, "ZIELDE79XXX"},
        {"10035010", "500500500", "DE10100350100500500500", kHint102, kStoredBic},
        {"10032000", "9696", "DE29100320000000009696", kHint102, kStoredBic},
        {"10033010", "222220", "DE55100330100000222220", kHint102, kStoredBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

// Every special account is replaced under its code; keys outside the range table have no BLZ.
TEST(Rules0033To0035, every_special_account_is_replaced_under_its_code)
{
    for (const auto& row : specialAccounts()) {
        const auto directory = test::directoryOf({{"20000000", std::string(row.code)}});
        EXPECT_EQ(test::convert(directory, "20000000", std::string(row.account)).iban,
                  IBANBilden(row.blz, row.replacement))
            << row.code << " " << row.account;
    }
    EXPECT_TRUE(accountRangeBlz(-1).empty());
    EXPECT_TRUE(accountRangeBlz(1000).empty());
}

TEST(Rules0031To0035, unicredit_accounts_as_the_bank_converts_them)
{
    const auto directory = test::directoryOf({
        {"10020890", "003200", "HYVEDEMM488", "99"},
        {"70020270", "003301", "HYVEDEMMXXX", "95"},
        {"60020290", "003400", "HYVEDEMM473", "99"},
        {"79020076", "003501", "HYVEDEMM455", "99"},
        {"76020070", "003200", "HYVEDEMM460", "99"},
    });
    static constexpr RuleCase kCases[] = {
        {"10020890", "1230492", "DE33100208900001230492", kHint102, "HYVEDEMM488"},
        {"10020890", "880479377", "", kHint6Code003200, ""},
        {"70020270", "834090597", "DE61700202700834090597", kHint102, "HYVEDEMMXXX"},
        {"70020270", "0000022222", "DE11700202705803435253", kHint102, "HYVEDEMMXXX"},
        {"60020290", "8140790", "DE92600202900008140790", kHint102, "HYVEDEMM473"},
        {"60020290", "1239163", "DE37600202900001239163", kHint102, "HYVEDEMM473"},
        {"60020290", "850393818", "", kHint6Code003400, ""},
        {"79020076", "815637437", "", kHint6Code003501, ""},
        {"10020890", "1000251670", "DE58760200701000251670", kHint102, "HYVEDEMM460"},
    };
    test::expectRuleCases(directory, kCases);
}

} // namespace
} // namespace zelvan
