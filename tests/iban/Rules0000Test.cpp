#include "iban/Rules0000Tables.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "iban/Iban.h"
#include "iban/IbanRuleEngine.h"
#include "iban/RuleCases.h"

namespace zelvan {
namespace {

// The directory BIC of every bank in these tests.
constexpr const char* kBic = "TESTDEFFXXX";
constexpr const char* kBlocked = "2-BLZ ist für eine IBAN-Berechnung gesperrt. Bitte eine neue Konto-Nr erfragen.";
constexpr const char* kCaveat =
    "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber";
constexpr const char* kInvalid = "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.";

constexpr const char* kWrongCheckDigit = "10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer prüfen.";

std::string notPossible(const std::string& code)
{
    return "6-IBAN-Berechnung nicht möglich, IBAN-Regel: " + code;
}

std::string excluded(const std::string& code)
{
    return "1-Konto ohne IBAN-Berechnung, IBAN-Regel: " + code;
}

// One row at a bank with the given rule code, and what the conversion must leave in it.
// The expected IBANs were computed apart from this program.
struct Case {
    std::string code;
    std::string blz;
    std::string account;
    std::string iban;
    std::string bic = kBic;
    std::string hint = {};
    std::string method = "00";
};

void expectRows(const std::vector<Case>& cases)
{
    for (const auto& c : cases) {
        SCOPED_TRACE("rule " + c.code + ", BLZ " + c.blz + ", account \"" + c.account + "\"");
        const auto directory = test::directoryOf({{c.blz, c.code, kBic, c.method}});
        const auto row = test::convert(directory, c.blz, c.account);
        EXPECT_EQ(row.iban, c.iban);
        EXPECT_EQ(row.bic, c.bic);
        EXPECT_EQ(row.hint, c.hint);
    }
}

// Rules without tables ---------------------------------------------------------------------------

TEST(Rules0000, rule_0002_excludes_sub_accounts_by_the_8th_and_9th_digits_of_the_zero_filled_account)
{
    expectRows({
        {"000200", "20000200", "1234567600", "", kBic, excluded("000200")},
        {"000200", "20000200", "1234567860", "", kBic, excluded("000200")},
        {"000200", "20000200", "1234567850", "DE93200002001234567850"},
        {"000200", "20000200", "1234567500", "DE37200002001234567500"},
        {"000200", "72020700", "135208618", "", kBic, excluded("000200")},
        {"000200", "72020700", "1341613", "", kBic, excluded("000200")},
        {"000200", "72020700", "134833169", "DE77720207000134833169"},
        {"000200", "72020700", "13900186", "DE92720207000013900186"},
        // 0012345678 has a 6 at the 8th place, 0012345867 "86" at the 8th and 9th; 0001234567 neither.
        {"000200", "20000200", "12345678", "", kBic, excluded("000200")},
        {"000200", "20000200", "12345867", "", kBic, excluded("000200")},
        {"000200", "20000200", "1234 567", "DE02200002000001234567"},
        {"000200", "20000200", "", "", kBic, kInvalid},
    });
}

TEST(Rules0000, rules_without_tables_convert_replace_or_exclude)
{
    expectRows({
        // Rule 0003 excludes one account.
        {"000300", "20000300", "6161604670", "", kBic, excluded("000300")},
        {"000300", "20000300", "6161604671", "DE20200003006161604671"},
        {"000300", "20000300", "616160467", "DE84200003000616160467"},
        // Rules 0008, 0012, 0013, 0014, 0021: another bank with its BIC.
        {"000800", "20000800", "1234567", "DE76500202000001234567", "BHFBDEFF500"},
        {"001201", "20001201", "1234567", "DE35500500000001234567", "HELADEFFXXX"},
        {"001301", "20001301", "1234567", "DE50300500000001234567", "WELADEDDXXX"},
        {"001400", "20001400", "1234567", "DE60300606010001234567", "DAAEDEDDXXX"},
        {"002101", "20002101", "1234567", "DE05360200300001234567", "NBAGDE3EXXX"},
        // Rule 0009 renumbers 1116 accounts of one bank only.
        {"000900", "68351976", "1116123456", "DE63683515573047123456", "SOLADES1SFH"},
        {"000900", "68351976", "111612", "DE55683515570000304712", "SOLADES1SFH"},
        {"000900", "68351976", "2116123456", "DE53683515572116123456", "SOLADES1SFH"},
        {"000900", "20000900", "1116123456", "DE98683515571116123456", "SOLADES1SFH"},
        // Rules 0016, 0022, 0023 replace one account as stored.
        {"001600", "20001600", "300000", "DE05200016000018128012"},
        {"001600", "20001600", "0000300000", "DE37200016000000300000"},
        {"002200", "20002200", "1111111", "DE55200022002222200000"},
        {"002300", "20002300", "700", "DE59200023001000700800"},
        // Rule 0019: three banks convert at 50120383, whose BIC is written even for an invalid account.
        {"001900", "50130100", "1234567", "DE28501203830001234567", "DELBDE33XXX"},
        {"001900", "50220200", "1234567", "DE28501203830001234567", "DELBDE33XXX"},
        {"001900", "70030800", "1234567", "DE28501203830001234567", "DELBDE33XXX"},
        {"001900", "20001900", "1234567", "DE41200019000001234567", kBic},
        {"001900", "50130100", "12AB", "", "DELBDE33XXX", kInvalid},
        // Rules 0025 and 0028 replace the BLZ but keep the directory BIC; 0026 and 0027 form the standard IBAN.
        {"002500", "20002500", "1234567", "DE22600501010001234567"},
        {"002800", "25050299", "1234567", "DE73250501800001234567"},
        {"002800", "20002800", "1234567", "DE16200028000001234567"},
        {"002600", "20002600", "1234567", "DE97200026000001234567"},
        {"002700", "20002700", "1234567", "DE08200027000001234567"},
        // Rule 0029 drops a zero at the 4th place of ten-digit accounts.
        {"002900", "20002900", "1230456789", "DE73200029000123456789"},
        {"002900", "20002900", "0230456789", "DE58200029000230456789"},
        {"002900", "20002900", "123045678", "DE69200029000123045678"},
        {"002900", "20002900", "1231456789", "DE60200029001231456789"},
    });
}

TEST(Rules0000, rule_0010_gives_fixed_ibans_at_50050201_and_replaces_50050222_from_version_01_on)
{
    for (const std::string code : {"001000", "001001"}) {
        expectRows({
            {code, "50050201", "2000", "DE42500502010000222000"},
            {code, "50050201", "800000", "DE89500502010000180802"},
            // Keys are compared as stored.
            {code, "50050201", "0000002000", "DE53500502010000002000"},
            {code, "50050201", "1234", "DE74500502010000001234"},
        });
    }
    // From version 01 on, 50050222 is replaced by 50050201, whose fixed IBANs stay its own.
    expectRows({
        {"001000", "50050222", "1234", "DE33500502220000001234"},
        {"001001", "50050222", "1234", "DE74500502010000001234"},
        {"001001", "50050222", "2000", "DE53500502010000002000"},
    });
}

TEST(Rules0000, rule_0021_refuses_accounts_of_one_to_five_and_of_eight_digits)
{
    expectRows({
        {"002101", "20002101", "1", "", kBic, notPossible("002101")},
        {"002101", "20002101", "12345", "", kBic, notPossible("002101")},
        {"002101", "20002101", "0000012345", "", kBic, notPossible("002101")},
        {"002101", "20002101", "123456", "DE36360200300000123456", "NBAGDE3EXXX"},
        {"002101", "20002101", "12345678", "", kBic, notPossible("002101")},
        {"002101", "20002101", "123456789", "DE54360200300123456789", "NBAGDE3EXXX"},
        {"002101", "20002101", "1234567890", "DE83360200301234567890", "NBAGDE3EXXX"},
        {"002101", "20002101", "12A45", "", "NBAGDE3EXXX", kInvalid},
    });
}

// Rule 0020 --------------------------------------------------------------------------------------

TEST(Rules0020, deutsche_bank_accounts_by_their_number_of_digits)
{
    for (const std::string code : {"002001", "002002"}) {
        const auto rule0020 = [&code](std::string blz, std::string account, std::string iban, std::string hint,
                                      std::string method = "63") {
            return Case{code, std::move(blz),  std::move(account), std::move(iban),
                        kBic, std::move(hint), std::move(method)};
        };
        expectRows({
            // 1 to 4 digits, and 10: no IBAN.
            rule0020("10070000", "1234", "", notPossible(code)),
            rule0020("10070000", "9", "", notPossible(code)),
            rule0020("10070000", "1234567890", "", notPossible(code)),
            // 5 and 6 digits stand for the sub-account 00, which must hold by the standard variant.
            rule0020("10070000", "12344", "DE63100700000001234400", kCaveat),
            rule0020("10070000", "123455", "DE23100700000012345500", kCaveat),
            rule0020("10070000", "252779", "", notPossible(code)),
            rule0020("10070000", "39837", "", notPossible(code)),
            rule0020("10070000", "71030", "", kWrongCheckDigit),
            // 7 digits: the sub-account was left out, or the account is whole.
            rule0020("10070000", "1234566", "DE27100700000123456600", kCaveat),
            rule0020("10070000", "0001234566", "DE27100700000123456600", kCaveat),
            rule0020("10070000", "1234401", "DE36100700000001234401", kCaveat),
            rule0020("10070000", "9892593", "", kWrongCheckDigit),
            // 8 and 9 digits: unchanged when the standard variant holds.
            rule0020("10070000", "87647482", "DE71100700000087647482", kCaveat),
            rule0020("10070000", "43094445", "", kWrongCheckDigit),
            rule0020("10070000", "112434639", "DE78100700000112434639", kCaveat),
            // The one replaced account, unchecked.
            rule0020("50070010", "9999", "DE80500700100092777202", kCaveat),
            rule0020("50070010", "0000009999", "DE80500700100092777202", kCaveat),
            rule0020("10070000", "9999", "", notPossible(code)),
            // norisbank: method C7 holds by 63 or only by 06.
            rule0020("76026000", "1234566", "DE95760260000123456600", kCaveat, "C7"),
            rule0020("76026000", "4803515617", "", notPossible(code), "C7"),
            rule0020("76026000", "1234567", "", kWrongCheckDigit, "C7"),
            // Method 09: unchecked.
            rule0020("10070000", "1234", "DE04100700000000001234", kCaveat, "09"),
            rule0020("10070000", "", "", kInvalid),
            rule0020("10070000", "12A4", "", kInvalid),
        });
    }
}

TEST(Rules0020, check_digit_option_agrees_with_the_rules_own_check)
{
    const auto directory = test::directoryOf({{"10070000", "002002", kBic, "63"}, {"76026000", "002002", kBic, "C7"}});
    const AccountCheckDigits checkDigits;
    for (const std::string blz : {"10070000", "76026000"}) {
        for (const std::string account : {"12344", "252779", "71030", "1234566", "1234401", "9892593", "87647482",
                                          "43094445", "112434639", "4803515617"}) {
            SCOPED_TRACE(blz + " " + account);
            const auto unchecked = test::convert(directory, blz, account);
            const auto checked = test::convert(directory, blz, account, &checkDigits);
            EXPECT_EQ(checked.iban, unchecked.iban);
            EXPECT_EQ(checked.hint, unchecked.hint);
        }
    }
}

TEST(Rules0005, check_digit_option_checks_what_the_rule_takes_as_it_stands)
{
    // Method 13 accounts of 1-5 and 8-10 digits are unchanged by the rule; the option checks them.
    const auto directory = test::directoryOf({{"10040000", "000503", kBic, "13"}});
    const AccountCheckDigits checkDigits;
    EXPECT_EQ(test::convert(directory, "10040000", "12345").iban, "DE53100400000000012345");
    EXPECT_EQ(test::convert(directory, "10040000", "12345", &checkDigits).hint, kWrongCheckDigit);
    EXPECT_EQ(test::convert(directory, "10040000", "86665755", &checkDigits).iban, "DE20100400000086665755");
    // A donation account is replaced: not checked.
    EXPECT_EQ(test::convert(directory, "10040000", "7878", &checkDigits).iban, "DE54100400000267878700");
}

// Codes of no implemented rule, among them other versions of implemented rule numbers.
TEST(Rules, codes_without_a_rule_get_hint_11_and_the_bic)
{
    for (const std::string code :
         {"000500", "001200", "002000", "001300", "002100", "000201", "002901", "003001", "003601", "003701",
          "003801", "003901", "004000", "004002", "004101", "004202", "004302", "004401", "004502", "004601",
          "004701", "004801", "004902", "003100", "003102", "003201", "003300", "003302", "003401", "003500",
          "003502", "005001", "005101", "005201", "005301", "005402", "005501", "005601", "005701", "005800"}) {
        const auto directory = test::directoryOf({{"20000000", code}});
        const std::string hint = "11-IBAN-Regel unbekannt (Programm-Update nötig), IBAN-Regel: " + code;
        const test::RuleCase row{"20000000", "1234567890", "", hint.c_str(), kBic};
        test::expectRuleCases(directory, {&row, 1});
    }
}

// Account tables ---------------------------------------------------------------------------------

// Most tables match keys as stored; rule 0015 replaces 94 from version 01 on; rules 0011 and
// 0017 read the account as a number.
TEST(Rules0000, account_tables_replace_the_accounts_they_list)
{
    expectRows({
        {"000400", "20000400", "135", "DE39200004000990021440"},
        {"000400", "20000400", "0000000135", "DE94200004000000000135"},
        {"000400", "20000400", "484848", "DE93200004000920018963"},
        {"000600", "20000600", "1111111", "DE30200006000020228888"},
        {"000600", "20000600", "70000", "DE32200006000018180018"},
        {"000600", "20000600", "0000070000", "DE17200006000000070000"},
        {"000700", "20000700", "111", "DE42200007000000001115"},
        {"000700", "20000700", "222220022", "DE15200007000002222222"},
        {"000700", "20000700", "0000000111", "DE87200007000000000111"},
        {"001800", "20001800", "556", "DE97200018000120440110"},
        {"001800", "20001800", "5435435430", "DE32200018000543543543"},
        {"002400", "20002400", "94", "DE65200024000000001694"},
        {"002400", "20002400", "400", "DE92200024000000014400"},
        {"001500", "20001500", "94", "DE28200015000000000094"},
        {"001501", "20001500", "94", "DE65200015003008888018"},
        {"001501", "20001500", "0000000094", "DE28200015000000000094"},
        {"001500", "20001500", "400569017", "DE41200015004000569017"},
        {"001501", "20001500", "400569017", "DE41200015004000569017"},
        {"001100", "32050000", "0000047800", "DE36320500000000047803"},
        {"001100", "32050000", "0000001000", "DE44320500000008010001"},
        {"001100", "32050000", "1 000", "DE44320500000008010001"},
        {"001700", "38060186", "4444", "DE04380601862044444014"},
        {"001700", "38060186", "0000004444", "DE04380601862044444014"},
        {"001700", "38060186", "44440", "DE27380601860000044440"},
    });
}

TEST(Rules0000, every_key_of_every_account_table_is_replaced_as_its_table_reads_it)
{
    const std::string blz = "20000000";
    auto check = [&](const std::string& code, std::string_view key, std::string_view replacement, AccountKey by) {
        SCOPED_TRACE(code + " " + std::string(key));
        const auto directory = test::directoryOf({{blz, code}});
        EXPECT_EQ(test::convert(directory, blz, std::string(key)).iban, IBANBilden(blz, replacement));
        // A ten-digit key such as 5435435430 is its own zero-filled form.
        const std::string filled = zeroFillTo10(key);
        if (filled != key) {
            const auto expected = by == AccountKey::ByNumber ? replacement : std::string_view(filled);
            EXPECT_EQ(test::convert(directory, blz, filled).iban, IBANBilden(blz, expected));
        }
    };
    for (const auto& table : accountTables0000To0029()) {
        for (const auto& row : table.rows)
            check(std::string(table.code), row.account, row.replacement, table.key);
    }
    for (const auto& row : rule0015Table()) {
        check("001501", row.account, row.replacement, AccountKey::AsStored);
        check("001500", row.account, row.fromVersion01 ? row.account : row.replacement, AccountKey::AsStored);
    }
}

// Rule 0005 --------------------------------------------------------------------------------------

TEST(Rules0005, blocked_blz_is_refused_and_keeps_the_directory_bic)
{
    for (const std::string code : {"000501", "000502", "000503"})
        expectRows({{code, "50040033", "1234567", "", kBic, kBlocked}});
}

TEST(Rules0005, keys_bic_override_and_method_09)
{
    expectRows({
        // Method 09 forms the IBAN from the account as stored.
        {"000502", "38040007", "909090", "DE41380400070000909090", "COBADEFFXXX", "", "09"},
        {"000502", "20000501", "1234", "DE49200005010000001234", kBic, "", "09"},
        // No range test with method 09.
        {"000503", "20040000", "998000000", "DE75200400000998000000", "COBADEFFXXX", "", "09"},
        // The BIC override needs a 4 at the 4th place of the BLZ, and not 411 there.
        {"000503", "50041100", "1234", "DE87500411000000001234", kBic, kCaveat},
        {"000503", "10080000", "1987", "DE06100800000928127700", kBic, kCaveat},
        {"000503", "20000501", "1234", "DE49200005010000001234", kBic, kCaveat},
        // The table is keyed by BLZ and account together.
        {"000503", "12080000", "1987", "DE17120800000000001987", kBic, kCaveat},
        // A match that keeps the number still ends the search.
        {"000503", "70040041", "400500500", "DE48700400410400500500", "COBADEFFXXX", kCaveat},
        {"000503", "20040000", "12AB", "", "COBADEFFXXX", kInvalid},
    });
}

TEST(Rules0005, versions_differ_in_three_replacements)
{
    expectRows({
        {"000501", "38040007", "909090", "DE60380400070001191600", "COBADEFFXXX", kCaveat},
        {"000502", "38040007", "909090", "DE65380400070119160000", "COBADEFFXXX", kCaveat},
        {"000503", "55040022", "555", "DE81550400220211050000", "COBADEFFXXX", kCaveat},
    });
}

TEST(Rules0005, blocked_account_range_is_refused_with_the_directory_bic)
{
    expectRows({
        {"000503", "21480003", "998000000", "", kBic, kBlocked},
        {"000503", "21480003", "0998000000", "", kBic, kBlocked},
        {"000503", "21480003", "999499999", "", kBic, kBlocked},
        {"000503", "21480003", "997999999", "DE74214800030997999999", kBic, kCaveat},
        {"000503", "21480003", "999500000", "DE69214800030999500000", kBic, kCaveat},
        // Blanks do not stand in the IBAN, so they do not lead around the range either.
        {"000503", "21480003", "998 000000", "", kBic, kBlocked},
    });
}

TEST(Rules0005, account_range_is_blocked_only_at_its_110_banks)
{
    for (const std::string blz : {"10080900", "12080000", "50080057", "87080000"})
        expectRows({{"000503", blz, "998162781", "", blz[3] == '4' ? "COBADEFFXXX" : kBic, kBlocked}});
    expectRows({
        {"000503", "20040000", "998000000", "DE75200400000998000000", "COBADEFFXXX", kCaveat},
        {"000503", "10080000", "998162781", "DE16100800000998162781", kBic, kCaveat, "76"},
        {"000503", "12080001", "998162781", "DE98120800010998162781", kBic, kCaveat},
    });
}

TEST(Rules0005, method_13_accounts_of_six_and_seven_digits_stand_for_the_sub_account_00)
{
    const auto commerzbank = [](std::string blz, std::string account, std::string iban, std::string hint) {
        const std::string bic = blz[3] == '4' && blz.substr(3, 3) != "411" ? "COBADEFFXXX" : kBic;
        return Case{"000503", std::move(blz), std::move(account), std::move(iban), bic, std::move(hint), "13"};
    };
    expectRows({
        commerzbank("10040000", "150631", "DE13100400000015063100", kCaveat),
        commerzbank("10040000", "7655194", "DE19100400000765519400", kCaveat),
        commerzbank("10040000", "6175466", "", notPossible("000503")),
        commerzbank("10040000", "955770", "", kWrongCheckDigit),
        // 8 digits and 1 to 5 digits are taken as they stand, unchecked.
        commerzbank("10040000", "86665755", "DE20100400000086665755", kCaveat),
        commerzbank("10040000", "12345", "DE53100400000000012345", kCaveat),
        commerzbank("10040000", "1234567890", "DE22100400001234567890", kCaveat),
        // 20041111 keeps the directory BIC: its 4th to 6th digits are 411.
        commerzbank("20041111", "7655194", "DE48200411110765519400", kCaveat),
        // A donation account ends the rule before the method step.
        commerzbank("10040000", "7878", "DE54100400000267878700", kCaveat),
    });
}

TEST(Rules0005, method_76_accounts_that_hold_only_without_their_sub_account_get_it_back)
{
    expectRows({
        {"000503", "12080000", "6029255", "DE53120800000602925500", kBic, kCaveat, "76"},
        {"000503", "12080000", "917710", "DE10120800000091771000", kBic, kCaveat, "76"},
        {"000503", "12080000", "263192149", "DE89120800000263192149", kBic, kCaveat, "76"},
        {"000503", "12080000", "263192249", "", kBic, kWrongCheckDigit, "76"},
        {"000503", "12080000", "998162781", "", kBic, kBlocked, "76"},
        {"000503", "12080000", "0000212121", "DE02120800004050462200", kBic, kCaveat, "76"},
    });
}

TEST(Rules0005, every_row_is_found_without_leading_zeros_in_every_version)
{
    for (const std::string code : {"000501", "000502", "000503"}) {
        for (const auto& row : rule0005Table()) {
            const std::string account(row.account.substr(row.account.find_first_not_of('0')));
            SCOPED_TRACE(code + " " + std::string(row.blz) + " " + account);
            const std::string blz(row.blz);
            const auto directory = test::directoryOf({{blz, code}});
            const auto replacement =
                code == "000501" && !row.replacementIn000501.empty() ? row.replacementIn000501 : row.replacement;
            const auto converted = test::convert(directory, blz, account);
            EXPECT_EQ(converted.iban, IBANBilden(blz, replacement));
            EXPECT_EQ(converted.hint, kCaveat);
        }
    }
}

// The engine finds codes by binary search.
TEST(Rules, codes_are_unique_and_ascending)
{
    const auto rules = IbanRuleEngine::rules();
    for (std::size_t i = 1; i < rules.size(); ++i)
        EXPECT_LT(rules[i - 1].code, rules[i].code);
}

// The bundled sample file holds banks of these rules.
TEST(Rules, bundled_sample_file_drives_the_rules)
{
    static constexpr test::RuleCase kCases[] = {
        {"38040007", "909090", "DE60380400070001191600", kCaveat, "COBADEFFXXX"},
        {"50040033", "1234567", "", kBlocked, "ZVAADEFFXXX"},
        {"68351976", "1116123456", "DE63683515573047123456", "", "SOLADES1SFH"},
        {"50050222", "1234", "DE74500502010000001234", "", "ZVRCDEFFXXX"},
        {"20110700", "1234567", "DE10300107000001234567", "", "BOTKDEDXXXX"},
        {"70391039", "0000099999", "", "7-IBAN-Berechnung nicht möglich, gesperrte Kontenkreise, IBAN-Regel: 003600",
         "TZSHDEHHXXX"},
        {"70020270", "8000000003", "DE68700202708000000003",
         "102-Unicredit-Konten mit BLZ-Umsetzung nach Kontokreisen. Evtl. prüfen beim Kontoinhaber", "TBUCDE70270"},
        {"70391037", "8000000003", "", "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003400", ""},
        {"28252760", "1234567", "DE39285500000001234567", "", "BRLADE21LER"},
        {"38010111", "12345", "", "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 005600", "TSTBDE38XXX"},
    };
    test::expectRuleCases(test::sampleDirectory(), kCases);
}

} // namespace
} // namespace zelvan
