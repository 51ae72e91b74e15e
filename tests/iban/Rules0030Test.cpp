#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "iban/RuleCases.h"

namespace zelvan {
namespace {

using test::RuleCase;

// Every bank under test carries this BIC; the banks that rules convert under carry kTargetBic.
constexpr const char* kStoredBic = "TESTDEFFXXX";
constexpr const char* kTargetBic = "ZIELDEFFXXX";

constexpr const char* kHint1 = "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 004200";
constexpr const char* kHint7 = "7-IBAN-Berechnung nicht möglich, gesperrte Kontenkreise, IBAN-Regel: 003600";
constexpr const char* kHint6 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 004201";
constexpr const char* kHint6of0042 = "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 004200";
constexpr const char* kHint8 = "8-IBAN-Berechnung nur möglich für 8-stellige Kontonummern, IBAN-Regel: 004200";
constexpr const char* kHint9 = "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.";
constexpr const char* kHint101 =
    "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber";

const std::vector<std::string> kRule0039Blzs = {"25621327", "28022412", "29121731"};

const BankDirectory& rulesDirectory()
{
    static const BankDirectory directory = [] {
        std::vector<test::TestBank> banks = {
            {"10000300", "003000"}, {"10000360", "003600"}, {"20110700", "003700"}, {"10000370", "003700"},
            {"26691213", "003800"}, {"28591579", "003800"}, {"25090300", "003800"}, {"10000380", "003800"},
            {"10000390", "003900"}, {"68051310", "004001"}, {"10000400", "004001"}, {"62220000", "004100"},
            {"10000410", "004100"}, {"10000420", "004200"}, {"10004201", "004201"}, {"60651070", "004300"},
            {"10000430", "004300"}, {"10000440", "004400"}, {"10000450", "004500"}, {"10000460", "004600"},
            {"10000470", "004700"}, {"10120800", "004800"}, {"27010200", "004800"}, {"60020300", "004800"},
            {"10000480", "004800"}, {"30060010", "004900"}, {"40060000", "004900"}, {"57060000", "004900"},
            {"10000490", "004900"},
        };
        // Method 09 has no check digit: 10000360 tests rule 0036's ranges, not its own check.
        banks[1].checkMethod = "09";
        for (const auto& blz : kRule0039Blzs)
            banks.push_back({blz, "003900"});
        for (const char* target :
             {"21050000", "30010700", "28590075", "28020050", "68052328", "66650085", "31010833", "36010200"})
            banks.push_back({target, "000000", kTargetBic});
        return test::directoryOf(banks);
    }();
    return directory;
}

TEST(Rules0030To0048, each_rule_moves_replaces_or_keeps_as_it_says)
{
    static constexpr RuleCase kCases[] = {
        // Rule 0030: the standard IBAN, no hint, no BIC override.
        {"10000300", "1234567", "DE66100003000001234567", "", kStoredBic},
        {"10000300", "0000000001", "DE74100003000000000001", "", kStoredBic},
        // Rules 0037, 0038, 0040, 0048: other BLZ, and their BIC written after the IBAN.
        {"20110700", "1234567", "DE10300107000001234567", "", "BOTKDEDXXXX"},
        {"20110700", "", "", kHint9, "BOTKDEDXXXX"},
        {"10000370", "1234567", "DE91100003700001234567", "", kStoredBic},
        {"26691213", "1234567", "DE44285900750001234567", "", "GENODEF1LER"},
        {"28591579", "1234567", "DE44285900750001234567", "", "GENODEF1LER"},
        {"25090300", "1234567", "DE44285900750001234567", "", "GENODEF1LER"},
        {"10000380", "1234567", "DE53100003800001234567", "", kStoredBic},
        {"68051310", "1234567", "DE70680523280001234567", "", "SOLADES1STF"},
        {"10000400", "1234567", "DE74100004000001234567", "", kStoredBic},
        {"10120800", "1234567", "DE14360102000001234567", "", "VONEDE33XXX"},
        {"27010200", "1234567", "DE14360102000001234567", "", "VONEDE33XXX"},
        {"60020300", "1234567", "DE14360102000001234567", "", "VONEDE33XXX"},
        {"10000480", "1234567", "DE61100004800001234567", "", kStoredBic},
        // Rules 0039 and 0046: other BLZ, the stored BIC stays.
        {"25621327", "1234567", "DE32280200500001234567", "", kStoredBic},
        {"28022412", "1234567", "DE32280200500001234567", "", kStoredBic},
        {"29121731", "1234567", "DE32280200500001234567", "", kStoredBic},
        {"10000390", "1234567", "DE15100003900001234567", "", kStoredBic},
        {"10000460", "1234567", "DE81310108330001234567", "", kStoredBic},
        // Rule 0041: one fixed IBAN for every account, even an unusable one.
        {"62220000", "1234567", "DE96500604000000011404", "", "GENODEFFXXX"},
        {"62220000", "", "DE96500604000000011404", "", "GENODEFFXXX"},
        {"62220000", "0", "DE96500604000000011404", "", "GENODEFFXXX"},
        {"62220000", "X", "DE96500604000000011404", "", "GENODEFFXXX"},
        {"10000410", "1234567", "DE36100004100001234567", "", kStoredBic},
        {"10000430", "1234567", "DE57100004300001234567", "", kStoredBic},
        // Rule 0044: account 202 as stored; rule 0047: eight characters get two zeros.
        {"10000440", "202", "DE54100004400002282022", "", kStoredBic},
        {"10000440", "0000000202", "DE32100004400000000202", "", kStoredBic},
        {"10000440", "2020", "DE28100004400000002020", "", kStoredBic},
        {"10000470", "12345678", "DE85100004701234567800", "", kStoredBic},
        {"10000470", "1234567", "DE02100004700001234567", "", kStoredBic},
        {"10000470", "123456789", "DE51100004700123456789", "", kStoredBic},
        {"10000470", "1234567890", "DE80100004701234567890", "", kStoredBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

TEST(Rule0036, blocks_every_range_bound_and_converts_just_outside_with_hint_101)
{
    static constexpr RuleCase kCases[] = {
        {"10000360", "0000099999", "", kHint7, kTargetBic},
        {"10000360", "0000900000", "", kHint7, kTargetBic},
        {"10000360", "0029999999", "", kHint7, kTargetBic},
        {"10000360", "0060000000", "", kHint7, kTargetBic},
        {"10000360", "0099999999", "", kHint7, kTargetBic},
        {"10000360", "0900000000", "", kHint7, kTargetBic},
        {"10000360", "0999999999", "", kHint7, kTargetBic},
        {"10000360", "2000000000", "", kHint7, kTargetBic},
        {"10000360", "2999999999", "", kHint7, kTargetBic},
        {"10000360", "7100000000", "", kHint7, kTargetBic},
        {"10000360", "8499999999", "", kHint7, kTargetBic},
        {"10000360", "8600000000", "", kHint7, kTargetBic},
        {"10000360", "8999999999", "", kHint7, kTargetBic},
        {"10000360", "0030000000", "DE71210500000030000000", kHint101, kTargetBic},
        {"10000360", "0059999999", "DE53210500000059999999", kHint101, kTargetBic},
        {"10000360", "0100000000", "DE63210500000100000000", kHint101, kTargetBic},
        {"10000360", "0899999999", "DE54210500000899999999", kHint101, kTargetBic},
        {"10000360", "1000000000", "DE71210500001000000000", kHint101, kTargetBic},
        {"10000360", "1999999999", "DE53210500001999999999", kHint101, kTargetBic},
        {"10000360", "3000000000", "DE78210500003000000000", kHint101, kTargetBic},
        {"10000360", "7099999999", "DE66210500007099999999", kHint101, kTargetBic},
        {"10000360", "8500000000", "DE73210500008500000000", kHint101, kTargetBic},
        {"10000360", "8599999999", "DE47210500008599999999", kHint101, kTargetBic},
        {"10000360", "9000000000", "DE02210500009000000000", kHint101, kTargetBic},
        {"10000360", "9999999999", "DE81210500009999999999", kHint101, kTargetBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

// Six digits in 100000 to 899999 get three zeros and no hint; other lengths are read as numbers.
TEST(Rule0036, six_digit_values_get_three_zeros_and_other_lengths_are_read_as_numbers)
{
    static constexpr RuleCase kCases[] = {
        {"10000360", "100000", "DE63210500000100000000", "", kTargetBic},
        {"10000360", "899999", "DE61210500000899999000", "", kTargetBic},
        {"10000360", "123456", "DE93210500000123456000", "", kTargetBic},
        {"10000360", "0000372896", "DE37210500000372896000", "", kTargetBic},
        {"10000360", "099999", "", kHint7, kTargetBic},
        {"10000360", "012345", "", kHint7, kTargetBic},
        {"10000360", "900000", "", kHint7, kTargetBic},
        {"10000360", "999999", "", kHint7, kTargetBic},
        {"10000360", "000000", "", kHint9, kTargetBic},
        {"10000360", "99999", "", kHint7, kTargetBic},
        {"10000360", "", "", kHint9, kTargetBic},
        {"10000360", "0000000000", "", kHint9, kTargetBic},
        {"10000360", "29999999", "", kHint7, kTargetBic},
        {"10000360", "30000000", "DE71210500000030000000", kHint101, kTargetBic},
        {"10000360", "100000000", "DE63210500000100000000", kHint101, kTargetBic},
        {"10000360", "1", "", kHint7, kTargetBic},
        {"10000360", "1234567", "", kHint7, kTargetBic},
        {"10000360", "12345678901", "", kHint9, kTargetBic},
        {"10000360", "3000 00000", "DE54210500000300000000", kHint101, kTargetBic},
        {"10000360", "123 4567", "", kHint7, kTargetBic},
        {"10000360", "12345678X", "", kHint9, kTargetBic},
        {"10000360", "13000000000", "", kHint9, kTargetBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

// Every bank of the rule converts under 21050000 with its BIC; the stored bank's method (C5 at
// 20050000) checks the account after the blocked ranges.
TEST(Rule0036, converts_under_21050000_with_its_bic_and_checks_after_the_blocked_ranges)
{
    const auto directory = test::directoryOf({{"20050000", "003600", "HSHNDEHHXXX", "C5"},
                                              {"23050000", "003600", "HSHNDEHH230"},
                                              {"21050000", "003600", "HSHNDEHHXXX", "C5"}});
    static constexpr const char* kHint10 = "10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer prüfen.";
    static constexpr RuleCase kCases[] = {
        {"23050000", "0000372896", "DE37210500000372896000", "", "HSHNDEHHXXX"},
        {"23050000", "012345", "", kHint7, "HSHNDEHHXXX"},
        {"23050000", "", "", kHint9, "HSHNDEHHXXX"},
        {"20050000", "251699", "", kHint10, "HSHNDEHHXXX"},
        {"20050000", "4893628539", "", kHint10, "HSHNDEHHXXX"},
        {"20050000", "99999", "", kHint7, "HSHNDEHHXXX"},
        {"20050000", "251694", "DE54210500000251694000", "", "HSHNDEHHXXX"},
        {"20050000", "4893628530", "DE37210500004893628530", kHint101, "HSHNDEHHXXX"},
    };
    test::expectRuleCases(directory, kCases);
    // Without 21050000 in the directory there is no BIC to write.
    const auto without = test::directoryOf({{"23050000", "003600", "HSHNDEHH230"}});
    EXPECT_EQ(test::convert(without, "23050000", "123456").bic, "");
}

TEST(Rule0042, converts_eight_digit_accounts_by_their_fourth_digit_and_ranges)
{
    // Lengths and positions are those of the digits, leading zeros and blanks left out.
    static constexpr RuleCase kCases[] = {
        {"10000420", "1234567", "", kHint8, kStoredBic},
        {"10000420", "123456789", "", kHint8, kStoredBic},
        {"10000420", "", "", kHint9, kStoredBic},
        {"10000420", "123456789 ", "", kHint8, kStoredBic},
        {"10000420", "00001000", "", kHint8, kStoredBic},
        {"10000420", "0012301000", "DE63100004200012301000", "", kStoredBic},
        {"10000420", "1230 1000", "DE63100004200012301000", "", kStoredBic},
        {"10000420", "12345678", "", kHint6of0042, kStoredBic},
        {"10000420", "50461999", "", kHint6of0042, kStoredBic},
        {"10000420", "50464000", "", kHint6of0042, kStoredBic},
        {"10000420", "50468999", "", kHint6of0042, kStoredBic},
        {"10000420", "50470000", "", kHint6of0042, kStoredBic},
        {"10000420", "99999999", "", kHint6of0042, kStoredBic},
        {"10000420", "12399999", "", kHint6of0042, kStoredBic},
        {"10000420", "50462000", "DE61100004200050462000", "", kStoredBic},
        {"10000420", "50463999", "DE20100004200050463999", "", kStoredBic},
        {"10000420", "50469000", "DE17100004200050469000", "", kStoredBic},
        {"10000420", "50469999", "DE10100004200050469999", "", kStoredBic},
        {"10000420", "50463000", "DE27100004200050463000", "", kStoredBic},
        {"10000420", "12300000", "", kHint1, kStoredBic},
        {"10000420", "12300999", "", kHint1, kStoredBic},
        {"10000420", "99900500", "", kHint1, kStoredBic},
        {"10000420", "0099900500", "", kHint1, kStoredBic},
        {"10000420", "12301000", "DE63100004200012301000", "", kStoredBic},
        {"10000420", "12309999", "DE75100004200012309999", "", kStoredBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

TEST(Rule004201, converts_eight_digit_accounts_by_their_sixth_digit_and_ten_digit_accounts_with_44)
{
    static constexpr RuleCase kCases[] = {
        // Eight digits, d6 "0": d7 "0" refused, anything else converts.
        {"10004201", "12300999", "", kHint6, kStoredBic},
        {"10004201", "12300000", "", kHint6, kStoredBic},
        {"10004201", "12301000", "DE90100042010012301000", "", kStoredBic},
        {"10004201", "12305678", "DE78100042010012305678", "", kStoredBic},
        // Eight digits, d6 not "0": only the two ranges convert.
        {"10004201", "50462000", "DE88100042010050462000", "", kStoredBic},
        {"10004201", "50463999", "DE47100042010050463999", "", kStoredBic},
        {"10004201", "50469000", "DE44100042010050469000", "", kStoredBic},
        {"10004201", "50469999", "DE37100042010050469999", "", kStoredBic},
        {"10004201", "50461999", "", kHint6, kStoredBic},
        {"10004201", "50464000", "", kHint6, kStoredBic},
        {"10004201", "50468999", "", kHint6, kStoredBic},
        {"10004201", "50470000", "", kHint6, kStoredBic},
        {"10004201", "12345678", "", kHint6, kStoredBic},
        // Ten digits: d4d5 "44" and not ending in five zeros.
        {"10004201", "1234400001", "DE05100042011234400001", "", kStoredBic},
        {"10004201", "1234400000", "", kHint6, kStoredBic},
        {"10004201", "1235500001", "", kHint6, kStoredBic},
        // Every other length, and an eight-character account with a leading zero.
        {"10004201", "123440001", "", kHint6, kStoredBic},
        {"10004201", "1234567", "", kHint6, kStoredBic},
        {"10004201", "01234567", "", kHint6, kStoredBic},
        {"10004201", "1", "", kHint6, kStoredBic},
        // No account number at all.
        {"10004201", "", "", kHint9, kStoredBic},
        {"10004201", "1230567a", "", kHint9, kStoredBic},
        {"10004201", "123456789012", "", kHint9, kStoredBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

// Rules 0043 and 0045: other BLZ, and their BIC written after the IBAN, in both versions.
TEST(Rules0043And0045, both_versions_write_the_bic_after_the_iban)
{
    static constexpr RuleCase kCases[] = {
        {"60651070", "1234567", "DE73666500850001234567", "", "PZHSDE66XXX"},
        {"10000450", "1234567", "DE78100004500001234567", "", "ESSEDE5FXXX"},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
    const auto version1 =
        test::directoryOf({{"60651070", "004301"}, {"10000450", "004501"}, {"66650085", "000000", kTargetBic}});
    test::expectRuleCases(version1, kCases);
}

TEST(Rule0049, swaps_blocks_at_three_blzs_then_replaces_listed_accounts)
{
    static constexpr RuleCase kCases[] = {
        {"30060010", "0000912345", "DE41300600109123450000", "", kStoredBic},
        {"30060010", "912345", "DE41300600109123450000", "", kStoredBic},
        {"30060010", "1234956789", "DE82300600109567891234", "", kStoredBic},
        {"30060010", "1234812345", "DE97300600101234812345", "", kStoredBic},
        {"30060010", "36", "DE57300600100002310113", "", kStoredBic},
        {"40060000", "1234956789", "DE64400600009567891234", "", kStoredBic},
        {"57060000", "1234956789", "DE27570600009567891234", "", kStoredBic},
        {"10000490", "0000912345", "DE87100004900000912345", "", kStoredBic},
        {"10000490", "36", "DE44100004900002310113", "", kStoredBic},
        {"10000490", "0000000036", "DE44100004900002310113", "", kStoredBic},
        {"10000490", "936", "DE44100004900002310113", "", kStoredBic},
        {"10000490", "0000000936", "DE44100004900002310113", "", kStoredBic},
        {"10000490", "999", "DE94100004900001310113", "", kStoredBic},
        {"10000490", "0000000999", "DE94100004900001310113", "", kStoredBic},
        {"10000490", "6060", "DE92100004900000160602", "", kStoredBic},
        {"10000490", "0000006060", "DE92100004900000160602", "", kStoredBic},
        {"10000490", "37", "DE29100004900000000037", "", kStoredBic},
        {"10000490", "6061", "DE50100004900000006061", "", kStoredBic},
    };
    test::expectRuleCases(rulesDirectory(), kCases);
}

TEST(Rule004901, converts_every_account_without_swap_or_replacement)
{
    const auto directory = test::directoryOf({{"10004901", "004901"}, {"30060010", "004901"}});
    static constexpr RuleCase kCases[] = {
        {"10004901", "1234956789", "DE39100049011234956789", "", kStoredBic},
        {"10004901", "36", "DE17100049010000000036", "", kStoredBic},
        {"10004901", "", "", kHint9, kStoredBic},
        // Nor at the three BLZs that swapped blocks before.
        {"30060010", "1234956789", "DE91300600101234956789", "", kStoredBic},
    };
    test::expectRuleCases(directory, kCases);
}

} // namespace
} // namespace zelvan
