#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "bankdir/BankCodeFile.h"
#include "iban/Rules0031Tables.h"
#include "support/RuleTestDirectory.h"

namespace zelvan {
namespace {

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

// Range keys that lead to no BLZ, as the bank lists them.
constexpr std::string_view kKeysWithoutEntry =
    "116, 133, 141, 153, 165, 171, 173, 179-180, 184, 187, 195, 197, 200, 213, 226, 242, 244, 263, 265-266, 273, "
    "275, 280, 285, 289-290, 297-298, 300, 303, 305-307, 311, 319, 323, 325, 332, 336, 338-340, 343, 347-349, 357, "
    "364-365, 372, 376-378, 385, 388, 395, 397, 400, 413-421, 425, 430-431, 433, 445, 448-449, 454-455, 464, "
    "474-475, 479, 483, 487, 493, 496, 498, 500-501, 504, 512, 514, 516-517, 520-521, 526, 529, 532, 535, 537, 539, "
    "542-544, 550-554, 556-559, 561-566, 568-571, 573-579, 582-600, 639, 642, 651, 691, 699-709, 713, 716, 721-722, "
    "724-732, 734-797, 799";

// A stored BLZ and account number and what the conversion leaves in the row.
struct RuleCase {
    const char* blz;
    const char* account;
    const char* iban;
    const char* hint;
    const char* bic;
};

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

void expectCases(const BankDirectory& directory, std::span<const RuleCase> cases,
                 const AccountCheckDigits* checkDigits = nullptr)
{
    for (const auto& c : cases) {
        const auto row = test::convert(directory, c.blz, c.account, checkDigits);
        EXPECT_EQ(row.iban, c.iban) << c.blz << " / \"" << c.account << "\"";
        EXPECT_EQ(row.hint, c.hint) << c.blz << " / \"" << c.account << "\"";
        EXPECT_EQ(row.bic, c.bic) << c.blz << " / \"" << c.account << "\"";
    }
}

std::vector<int> keysOf(std::string_view list)
{
    std::vector<int> keys;
    while (!list.empty()) {
        const auto end = list.find(", ");
        const std::string item(list.substr(0, end));
        const auto dash = item.find('-');
        const int from = std::stoi(item.substr(0, dash));
        const int to = dash == std::string::npos ? from : std::stoi(item.substr(dash + 1));
        for (int key = from; key <= to; ++key)
            keys.push_back(key);
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 2);
    }
    return keys;
}

TEST(AccountRangeTable, holds_458_keys_from_100_to_798_leading_to_91_blzs)
{
    std::map<std::string_view, int> keysPerBlz;
    int keys = 0;
    for (int key = -1; key <= 1000; ++key) {
        const std::string_view blz = accountRangeBlz(key);
        if (blz.empty())
            continue;
        ++keys;
        ++keysPerBlz[blz];
        EXPECT_GE(key, 100);
        EXPECT_LE(key, 798);
        EXPECT_EQ(blz.size(), 8u);
    }
    EXPECT_EQ(keys, 458);
    EXPECT_EQ(keysPerBlz.size(), 91u);
    EXPECT_EQ(keysPerBlz["70020270"], 110);
    EXPECT_EQ(keysPerBlz["10020890"], 28);
    EXPECT_EQ(keysPerBlz["76020070"], 22);
    EXPECT_EQ(keysPerBlz["72020070"], 21);
}

TEST(AccountRangeTable, keys_listed_without_entry_have_none_and_all_others_have_one)
{
    const std::vector<int> without = keysOf(kKeysWithoutEntry);
    EXPECT_EQ(without.size(), 700u - 458u);
    for (const int key : without)
        EXPECT_TRUE(accountRangeBlz(key).empty()) << key;
    for (int key = 100; key <= 798; ++key) {
        const bool listedWithout = std::find(without.begin(), without.end(), key) != without.end();
        EXPECT_NE(accountRangeBlz(key).empty(), !listedWithout) << key;
    }
}

TEST(AccountRangeTable, both_ends_of_key_ranges_lead_to_their_blz)
{
    static constexpr std::pair<int, std::string_view> kKeys[] = {
        {100, "76020070"}, {113, "76020070"}, {114, "76020070"}, {714, "76020070"}, {101, "10020890"},
        {546, "10020890"}, {548, "10020890"}, {162, "70020270"}, {164, "70020270"}, {684, "70020270"},
        {689, "70020270"}, {798, "70020270"}, {608, "72020070"}, {611, "72020070"}, {123, "76420080"},
        {694, "70021180"}, {697, "54020090"}, {733, "83020087"}, {649, "72122181"}, {212, "51020186"},
    };
    for (const auto& [key, blz] : kKeys)
        EXPECT_EQ(accountRangeBlz(key), blz) << key;
    for (const int key : {-1, 0, 99, 799, 800, 899, 900, 999, 1000})
        EXPECT_TRUE(accountRangeBlz(key).empty()) << key;
}

TEST(SpecialAccounts, three_codes_have_eight_accounts)
{
    const auto accounts = specialAccounts();
    ASSERT_EQ(accounts.size(), 8u);
    std::map<std::string_view, int> perCode;
    for (const auto& account : accounts)
        ++perCode[account.code];
    EXPECT_EQ(perCode, (std::map<std::string_view, int>{{"003301", 5}, {"003400", 2}, {"003501", 1}}));
}

TEST(Rule0031, accounts_under_ten_digits_are_refused)
{
    static constexpr RuleCase kCases[] = {
        {"10031010", "123456789", "", kHint6Code003101, ""},
        {"10031010", "9696", "", kHint6Code003101, ""},
        {"10031010", "0123456789", "", kHint6Code003101, ""},
        {"10031010", "", "", kHint9, kStoredBic},
        {"10031010", "12345678901", "", kHint9, kStoredBic},
        {"10031010", "1234567890", "DE47764200801234567890", kHint102, "ZIELDE76XXX"},
    };
    expectCases(rulesDirectory(), kCases);
}

TEST(Rules0031To0035, range_key_comes_from_the_first_three_digits_of_ten_digit_accounts_only)
{
    static constexpr RuleCase kCases[] = {
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
    expectCases(rulesDirectory(), kCases);
}

TEST(Rules0031To0035, keys_800_to_899_empty_the_blz_by_code_and_keys_900_to_999_keep_it)
{
    // Ten digits: keys 800-899 by code. Nine digits 800000000-899999999: refused except under 003301.
    static constexpr RuleCase kCases[] = {
        {"10031010", "8000000000", "DE25100310108000000000", kHint102, kStoredBic},
        {"10031010", "8999999999", "DE07100310108999999999", kHint102, kStoredBic},
        {"10031010", "8001234", "", kHint6Code003101, ""},
        {"10031010", "800000000", "", kHint6Code003101, ""},
        {"10031010", "9000000000", "DE77100310109000000000", kHint102, kStoredBic},
        {"10031010", "9999999999", "DE59100310109999999999", kHint102, kStoredBic},
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
        {"10033010", "8001234", "DE98100330100008001234", kHint102, kStoredBic},
        {"10033010", "800000000", "DE24100330100800000000", kHint102, kStoredBic},
        {"10033010", "899999999", "DE95100330100899999999", kHint102, kStoredBic},
        {"10033010", "799999999", "DE51100330100799999999", kHint102, kStoredBic},
        {"10033010", "900000000", "DE68100330100900000000", kHint102, kStoredBic},
        {"10033010", "9000000000", "DE43100330109000000000", kHint102, kStoredBic},
        {"10033010", "9999999999", "DE25100330109999999999", kHint102, kStoredBic},
        {"10034000", "8000000000", "", kHint6Code003400, ""},
        {"10034000", "8999999999", "", kHint6Code003400, ""},
        {"10034000", "8001234", "DE22100340000008001234", kHint102, kStoredBic},
        {"10034000", "800000000", "", kHint6Code003400, ""},
        {"10034000", "899999999", "", kHint6Code003400, ""},
        {"10034000", "799999999", "DE72100340000799999999", kHint102, kStoredBic},
        {"10034000", "900000000", "DE89100340000900000000", kHint102, kStoredBic},
        {"10034000", "9000000000", "DE64100340009000000000", kHint102, kStoredBic},
        {"10034000", "9999999999", "DE46100340009999999999", kHint102, kStoredBic},
        {"10035010", "8000000000", "", kHint6Code003501, ""},
        {"10035010", "8999999999", "", kHint6Code003501, ""},
        {"10035010", "8001234", "DE64100350100008001234", kHint102, kStoredBic},
        {"10035010", "800000000", "", kHint6Code003501, ""},
        {"10035010", "899999999", "", kHint6Code003501, ""},
        {"10035010", "799999999", "DE17100350100799999999", kHint102, kStoredBic},
        {"10035010", "900000000", "DE34100350100900000000", kHint102, kStoredBic},
        {"10035010", "9000000000", "DE09100350109000000000", kHint102, kStoredBic},
        {"10035010", "9999999999", "DE88100350109999999999", kHint102, kStoredBic},
        {"70020270", "8000000000", "DE52700202708000000000", kHint102, "ZIELDE70XXX"},
        {"70020270", "8999999999", "DE34700202708999999999", kHint102, "ZIELDE70XXX"},
    };
    expectCases(rulesDirectory(), kCases);
}

TEST(Rule0033, short_accounts_keep_their_blz)
{
    static constexpr RuleCase kCases[] = {
        {"10033010", "123456789", "DE74100330100123456789", kHint102, kStoredBic},
        {"10033010", "502", "DE86100330100000000502", kHint102, kStoredBic},
        {"10033010", "1234567890", "DE47764200801234567890", kHint102, "ZIELDE76XXX"},
    };
    expectCases(rulesDirectory(), kCases);
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
    expectCases(directory, kCases);
    expectCases(directory, kCases, &checker);
}

TEST(Rules0033To0035, special_accounts_match_by_number_and_only_for_their_code)
{
    static constexpr RuleCase kCases[] = {
        {"10033010", "22222", "DE11700202705803435253", kHint102, "ZIELDE70XXX"},
        {"10033010", "0000022222", "DE11700202705803435253", kHint102, "ZIELDE70XXX"},
        {"10033010", "1111111", "DE88700202700039908140", kHint102, "ZIELDE70XXX"},
        {"10033010", "0001111111", "DE88700202700039908140", kHint102, "ZIELDE70XXX"},
        {"10033010", "94", "DE83700202700002711931", kHint102, "ZIELDE70XXX"},
        {"10033010", "0000000094", "DE83700202700002711931", kHint102, "ZIELDE70XXX"},
        {"10033010", "7777777", "DE40700202705800522694", kHint102, "ZIELDE70XXX"},
        {"10033010", "0007777777", "DE40700202705800522694", kHint102, "ZIELDE70XXX"},
        {"10033010", "55555", "DE61700202705801800000", kHint102, "ZIELDE70XXX"},
        {"10033010", "0000055555", "DE61700202705801800000", kHint102, "ZIELDE70XXX"},
        {"10034000", "500500500", "DE82600202904340111112", kHint102, "ZIELDE60XXX"},
        {"10034000", "0500500500", "DE82600202904340111112", kHint102, "ZIELDE60XXX"},
        {"10034000", "502", "DE28600202904340118001", kHint102, "ZIELDE60XXX"},
        {"10034000", "0000000502", "DE28600202904340118001", kHint102, "ZIELDE60XXX"},
        {"10034000", "9696", "DE92100340000000009696", kHint102, kStoredBic},
        {"10035010", "9696", "DE29790200761490196966", kHint102, "ZIELDE79XXX"},
        {"10035010", "0000009696", "DE29790200761490196966", kHint102, "ZIELDE79XXX"},
        {"10035010", "500500500", "DE10100350100500500500", kHint102, kStoredBic},
        {"10032000", "9696", "DE29100320000000009696", kHint102, kStoredBic},
        {"10033010", "222220", "DE55100330100000222220", kHint102, kStoredBic},
    };
    expectCases(rulesDirectory(), kCases);
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
    expectCases(directory, kCases);
}

TEST(Rules0031To0035, other_versions_of_the_rule_numbers_get_hint_11)
{
    for (const char* code : {"003100", "003102", "003201", "003300", "003302", "003401", "003500", "003502"}) {
        const auto directory = test::directoryOf({{"20000000", code}, {"76420080", "000000", "ZIELDE76XXX"}});
        const auto row = test::convert(directory, "20000000", "1234567890");
        EXPECT_EQ(row.bic, kStoredBic) << code;
        EXPECT_EQ(row.iban, "") << code;
        EXPECT_EQ(row.hint, "11-IBAN-Regel unbekannt (Programm-Update nötig), IBAN-Regel: " + std::string(code)) << code;
    }
}

// The bundled sample bank-code file drives these rules.
TEST(Rules0031To0035, sample_bank_file_drives_the_rules)
{
    BankDirectory directory;
    ASSERT_TRUE(loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory).ok);
    static constexpr RuleCase kCases[] = {
        {"70020270", "8000000003", "DE68700202708000000003", kHint102, "TBUCDE70270"},
        {"70391036", "1234567890", "DE47764200801234567890", kHint102, "TBUCDE76080"},
        {"70391037", "8000000003", "", kHint6Code003400, ""},
        {"70391038", "9696", "DE29790200761490196966", kHint102, "TBUCDE79076"},
    };
    expectCases(directory, kCases);
}

} // namespace
} // namespace zelvan
