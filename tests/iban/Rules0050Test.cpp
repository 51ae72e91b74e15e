#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "iban/Iban.h"
#include "iban/RuleCases.h"
#include "iban/Rules0050Tables.h"
#include "support/IbanCheck.h"

namespace zelvan {
namespace {

using test::RuleCase;

constexpr const char* kDirectoryBic = "TESTDEFFXXX";

const BankDirectory& rulesDirectory()
{
    static const BankDirectory directory = test::directoryOf({
        {"28252760", "005000"}, {"28252761", "005000"}, {"51000001", "005100"}, {"67220020", "005200"},
        {"67020020", "005200"}, {"55050000", "005300"}, {"60020030", "005300"}, {"60050000", "005300"},
        {"66020020", "005300"}, {"66050000", "005300"}, {"86050000", "005300"}, {"53000001", "005300"},
        {"54000001", "005400"}, {"54010001", "005401"}, {"55000001", "005500"}, {"55000002", "005500"},
        {"12345678", "005600"}, {"38010111", "005600"}, {"10010111", "005600"}, {"69010111", "005600"},
        {"50810900", "005700"}, {"50810901", "005700"},
    });
    return directory;
}

constexpr const char* kHint1Rule0052 = "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 005200";
constexpr const char* kHint1Rule0056 = "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 005600";
constexpr const char* kHint9 = "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.";

// Rules 0050, 0055, 0057: another BLZ with its BIC.
TEST(Rules0050To0057, move_accounts_to_another_bank)
{
    static constexpr RuleCase cases[] = {
        {"28252760", "1234567", "DE39285500000001234567", "", "BRLADE21LER"},
        {"28252761", "1234567", "DE21282527610001234567", "", kDirectoryBic},
        // The BIC is written as the rule writes it even when the account is unusable.
        {"28252760", "12A", "", kHint9, "BRLADE21LER"},
        // Rule 0055: every account, at both BLZs.
        {"55000001", "1234567", "DE85254102000001234567", "", "BHWBDE2HXXX"},
        {"55000002", "1234567", "DE85254102000001234567", "", "BHWBDE2HXXX"},
        {"55000002", "1", "DE93254102000000000001", "", "BHWBDE2HXXX"},
        // Rule 0057: its BLZ only.
        {"50810900", "1234567", "DE40660102000001234567", "", "BBSPDE6KXXX"},
        {"50810901", "1234567", "DE26508109010001234567", "", kDirectoryBic},
        {"50810900", "abc", "", kHint9, "BBSPDE6KXXX"},
    };
    test::expectRuleCases(rulesDirectory(), cases);
}

TEST(Rule0051, zero_fills_the_account_before_the_table)
{
    static constexpr RuleCase cases[] = {
        {"51000001", "333", "DE96510000017832500881", "", kDirectoryBic},
        {"51000001", "0000000333", "DE96510000017832500881", "", kDirectoryBic},
        {"51000001", "502", "DE15510000010001108884", "", kDirectoryBic},
        {"51000001", "0000000502", "DE15510000010001108884", "", kDirectoryBic},
        {"51000001", "500500500", "DE25510000010005005000", "", kDirectoryBic},
        {"51000001", "502502502", "DE15510000010001108884", "", kDirectoryBic},
        {"51000001", "0502502502", "DE15510000010001108884", "", kDirectoryBic},
        {"51000001", "334", "DE60510000010000000334", "", kDirectoryBic},
        {"51000001", "502502503", "DE83510000010502502503", "", kDirectoryBic},
    };
    test::expectRuleCases(rulesDirectory(), cases);
}

TEST(Rule0052, converts_only_the_listed_pairs)
{
    static constexpr RuleCase cases[] = {
        {"67220020", "5308810004", "DE38600501010002662604", "", "SOLADEST600"},
        {"67220020", "5308810000", "DE54600501010002659600", "", "SOLADEST600"},
        {"67020020", "5203145700", "DE22600501017496510994", "", "SOLADEST600"},
        {"67220020", "123", "", kHint1Rule0052, kDirectoryBic},
        // The account of one pair at the BLZ of another.
        {"67020020", "5308810004", "", kHint1Rule0052, kDirectoryBic},
        {"67220020", " 5308810004", "", kHint1Rule0052, kDirectoryBic},
    };
    test::expectRuleCases(rulesDirectory(), cases);
}

TEST(Rule0053, replaces_accounts_listed_under_their_own_blz)
{
    static constexpr RuleCase cases[] = {
        {"55050000", "908", "DE31600501017401507480", "", "SOLADEST600"},
        {"55050000", "55020100", "DE37600501017401555872", "", "SOLADEST600"},
        {"60020030", "1047444300", "DE82600501017871538395", "", "SOLADEST600"},
        {"60050000", "123456", "DE26600501010001362826", "", "SOLADEST600"},
        {"66020020", "4002401000", "DE74600501017495500967", "", "SOLADEST600"},
        {"66050000", "86345", "DE56600501017402046641", "", "SOLADEST600"},
        {"86050000", "1016", "DE80600501017461500128", "", "SOLADEST600"},
        // Zero-filled keys, unlisted accounts and keys of another BLZ stay.
        {"55050000", "0000000908", "DE67550500000000000908", "", kDirectoryBic},
        {"55050000", "903", "DE08550500000000000903", "", kDirectoryBic},
        {"60050000", "1016", "DE33600500000000001016", "", kDirectoryBic},
        {"53000001", "908", "DE32530000010000000908", "", kDirectoryBic},
    };
    test::expectRuleCases(rulesDirectory(), cases);
}

TEST(Rule0054, replaces_accounts_as_stored_at_both_versions)
{
    // Both versions share the table.
    static constexpr RuleCase cases[] = {
        {"54000001", "33796740", "DE79540000010033796740", "", kDirectoryBic},
        {"54010001", "33796740", "DE06540100010033796740", "", kDirectoryBic},
        {"54000001", "500", "DE37540000010000500500", "", kDirectoryBic},
        {"54010001", "500", "DE61540100010000500500", "", kDirectoryBic},
        // 9 digits, zero-filled by the IBAN with one leading "0".
        {"54000001", "1761070000", "DE57540000010176107000", "", kDirectoryBic},
        {"54010001", "1761070000", "DE81540100010176107000", "", kDirectoryBic},
        {"54000001", "0000000500", "DE62540000010000000500", "", kDirectoryBic},
        {"54000001", "636306", "DE05540000010000063606", "", kDirectoryBic},
        {"54000001", "2210531180", "DE51540000010201053180", "", kDirectoryBic},
        {"54000001", "502", "DE12540000010000502502", "", kDirectoryBic},
        {"54000001", "10796741", "DE38540000010010796741", "", kDirectoryBic},
    };
    test::expectRuleCases(rulesDirectory(), cases);
}

TEST(Rule0054, replaces_exactly_the_prefixes_of_its_pattern)
{
    std::size_t listedPrefixes = 0;
    for (const char* blz : {"54000001", "54010001"}) {
        for (int prefix = 0; prefix <= 99; ++prefix) {
            const std::string digits = {static_cast<char>('0' + prefix / 10), static_cast<char>('0' + prefix % 10)};
            const bool listed = (prefix >= 10 && prefix <= 29) || prefix == 45 || (prefix >= 50 && prefix <= 69);
            listedPrefixes += listed ? 1 : 0;
            const auto row = test::convert(rulesDirectory(), blz, digits + "796740");
            EXPECT_EQ(row.iban, IBANBilden(blz, digits + (listed ? "796743" : "796740"))) << blz << " " << digits;
        }
    }
    // The table's pattern rows are exactly these prefixes (counted at both versions).
    EXPECT_EQ(2 * rule0054PatternRowCount(), listedPrefixes);
}

// Every row of the rules' tables is found where its rule looks it up, and every fixed IBAN is sound.
TEST(Rules0050Tables, every_row_is_replaced_as_its_rule_reads_it)
{
    const auto convertAt = [](std::string_view blz, const char* code, std::string_view account) {
        return test::convert(test::directoryOf({{std::string(blz), code}}), std::string(blz), std::string(account));
    };
    for (const auto& row : rule0051Accounts())
        EXPECT_EQ(convertAt("51000001", "005100", row.account).iban, IBANBilden("51000001", row.replacement));
    for (const auto& row : rule0054Accounts())
        EXPECT_EQ(convertAt("54000001", "005400", row.account).iban, IBANBilden("54000001", row.replacement));
    for (const auto& [code, table] : {std::pair{"005200", rule0052Pairs()}, std::pair{"005300", rule0053Accounts()}}) {
        for (const auto& row : table)
            EXPECT_EQ(convertAt(row.blz, code, row.account).iban, IBANBilden("60050101", row.replacement)) << row.blz;
    }
    for (const auto& blz : rule0056Blzs())
        EXPECT_EQ(convertAt(blz, "005600", "12345").hint, kHint1Rule0056) << blz;
    for (const auto& row : rule0056FixedIbans()) {
        EXPECT_EQ(convertAt("12345678", "005600", row.account).iban, row.iban);
        EXPECT_TRUE(test::hasValidIbanCheckDigits(row.iban)) << row.iban;
    }
}

TEST(Rule0056, gives_fixed_ibans_first_and_wants_ten_digits_at_listed_banks_all_read_as_numbers)
{
    static constexpr RuleCase cases[] = {
        {"12345678", "36", "DE29380101111010240003", "", kDirectoryBic},
        {"12345678", "123", "DE21123456780000000123", "", kDirectoryBic},
        {"12345678", "0000000036", "DE29380101111010240003", "", kDirectoryBic},
        // Fixed IBANs hold at the listed banks too, without a refusal.
        {"38010111", "36", "DE29380101111010240003", "", kDirectoryBic},
        {"69010111", "500500500", "DE17600101111045720000", "", kDirectoryBic},
        {"38010111", "1234567890", "DE31380101111234567890", "", kDirectoryBic},
        {"38010111", "0000000036", "DE29380101111010240003", "", kDirectoryBic},
        {"38010111", "0000123456", "", kHint1Rule0056, kDirectoryBic},
        {"69010111", "1234567890", "DE32690101111234567890", "", kDirectoryBic},
        {"38010111", "12345", "", kHint1Rule0056, kDirectoryBic},
        {"38010111", "123456789", "", kHint1Rule0056, kDirectoryBic},
        {"38010111", "12345678901", "", kHint9, kDirectoryBic},
        {"38010111", "", "", kHint9, kDirectoryBic},
        {"10010111", "12345", "", kHint1Rule0056, kDirectoryBic},
        {"69010111", "12345", "", kHint1Rule0056, kDirectoryBic},
    };
    test::expectRuleCases(rulesDirectory(), cases);
}

} // namespace
} // namespace zelvan
