#include <gtest/gtest.h>

#include "support/IbanCheck.h"

#include <set>
#include <span>
#include <string>
#include <vector>

#include "bankdir/BankCodeFile.h"
#include "iban/Iban.h"
#include "iban/Rules0050Tables.h"
#include "support/RuleTestDirectory.h"

namespace zelvan {
namespace {

constexpr const char* kDirectoryBic = "TESTDEFFXXX";

// One row through the conversion run and what it should leave behind.
struct RuleCase {
    const char* blz;
    const char* account;
    const char* iban;
    const char* bic;
    const char* hint;
};

const BankDirectory& rulesDirectory()
{
    static const BankDirectory directory = test::directoryOf({
        {"28252760", "005000"}, {"28252761", "005000"}, {"51000001", "005100"}, {"67220020", "005200"},
        {"67020020", "005200"}, {"69421020", "005200"}, {"66620020", "005200"}, {"64120030", "005200"},
        {"64020030", "005200"}, {"63020130", "005200"}, {"62030050", "005200"}, {"69220020", "005200"},
        {"55050000", "005300"}, {"60020030", "005300"}, {"60050000", "005300"}, {"66020020", "005300"},
        {"66050000", "005300"}, {"86050000", "005300"}, {"53000001", "005300"}, {"54000001", "005400"},
        {"54010001", "005401"}, {"55000001", "005500"}, {"55000002", "005500"}, {"12345678", "005600"},
        {"38010111", "005600"}, {"10010111", "005600"}, {"69010111", "005600"}, {"42610112", "005600"},
        {"35211012", "005600"}, {"50810900", "005700"}, {"50810901", "005700"},
    });
    return directory;
}

void expectCases(const BankDirectory& directory, std::span<const RuleCase> cases)
{
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.blz) + " / \"" + c.account + "\"");
        const auto row = test::convert(directory, c.blz, c.account);
        EXPECT_EQ(row.iban, c.iban);
        EXPECT_EQ(row.bic, c.bic);
        EXPECT_EQ(row.hint, c.hint);
    }
}

const char* const kHint1Rule0052 = "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 005200";
const char* const kHint1Rule0056 = "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 005600";
const char* const kHint9 = "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.";

TEST(Rule0050, moves_only_its_blz_to_the_bank_of_brlade21ler)
{
    const RuleCase cases[] = {
        {"28252760", "1234567", "DE39285500000001234567", "BRLADE21LER", ""},
        {"28252761", "1234567", "DE21282527610001234567", kDirectoryBic, ""},
        // The BIC is written as the rule writes it even when the account is unusable.
        {"28252760", "12A", "", "BRLADE21LER", kHint9},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0051, zero_fills_the_account_before_the_table)
{
    const RuleCase cases[] = {
        {"51000001", "333", "DE96510000017832500881", kDirectoryBic, ""},
        {"51000001", "0000000333", "DE96510000017832500881", kDirectoryBic, ""},
        {"51000001", "502", "DE15510000010001108884", kDirectoryBic, ""},
        {"51000001", "0000000502", "DE15510000010001108884", kDirectoryBic, ""},
        {"51000001", "500500500", "DE25510000010005005000", kDirectoryBic, ""},
        {"51000001", "502502502", "DE15510000010001108884", kDirectoryBic, ""},
        {"51000001", "0502502502", "DE15510000010001108884", kDirectoryBic, ""},
        {"51000001", "334", "DE60510000010000000334", kDirectoryBic, ""},
        {"51000001", "502502503", "DE83510000010502502503", kDirectoryBic, ""},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0052, converts_only_the_listed_pairs)
{
    const RuleCase cases[] = {
        {"67220020", "5308810004", "DE38600501010002662604", "SOLADEST600", ""},
        {"67220020", "5308810000", "DE54600501010002659600", "SOLADEST600", ""},
        {"67020020", "5203145700", "DE22600501017496510994", "SOLADEST600", ""},
        {"69421020", "6208908100", "DE85600501017481501341", "SOLADEST600", ""},
        {"66620020", "4840404000", "DE13600501017498502663", "SOLADEST600", ""},
        {"64120030", "1201200100", "DE28600501017477501214", "SOLADEST600", ""},
        {"64020030", "1408050100", "DE82600501017469534505", "SOLADEST600", ""},
        {"63020130", "1112156300", "DE69600501010004475655", "SOLADEST600", ""},
        {"62030050", "7002703200", "DE72600501017406501175", "SOLADEST600", ""},
        {"69220020", "6402145400", "DE91600501017485500252", "SOLADEST600", ""},
        {"67220020", "123", "", kDirectoryBic, kHint1Rule0052},
        // The account of one pair at the BLZ of another.
        {"67020020", "5308810004", "", kDirectoryBic, kHint1Rule0052},
        {"67220020", " 5308810004", "", kDirectoryBic, kHint1Rule0052},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0053, replaces_accounts_listed_under_their_own_blz)
{
    const RuleCase cases[] = {
        {"55050000", "908", "DE31600501017401507480", "SOLADEST600", ""},
        {"55050000", "55020100", "DE37600501017401555872", "SOLADEST600", ""},
        {"60020030", "1047444300", "DE82600501017871538395", "SOLADEST600", ""},
        {"60050000", "123456", "DE26600501010001362826", "SOLADEST600", ""},
        {"66020020", "4002401000", "DE74600501017495500967", "SOLADEST600", ""},
        {"66050000", "86345", "DE56600501017402046641", "SOLADEST600", ""},
        {"86050000", "1016", "DE80600501017461500128", "SOLADEST600", ""},
        // Zero-filled keys, unlisted accounts and keys of another BLZ stay.
        {"55050000", "0000000908", "DE67550500000000000908", kDirectoryBic, ""},
        {"55050000", "903", "DE08550500000000000903", kDirectoryBic, ""},
        {"60050000", "1016", "DE33600500000000001016", kDirectoryBic, ""},
        {"53000001", "908", "DE32530000010000000908", kDirectoryBic, ""},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0054, replaces_accounts_as_stored_at_both_versions)
{
    // Both versions share the table.
    const RuleCase bothVersions[] = {
        {"54000001", "10796740", "DE81540000010010796743", kDirectoryBic, ""},
        {"54010001", "10796740", "DE08540100010010796743", kDirectoryBic, ""},
        {"54000001", "33796740", "DE79540000010033796740", kDirectoryBic, ""},
        {"54010001", "33796740", "DE06540100010033796740", kDirectoryBic, ""},
        {"54000001", "500", "DE37540000010000500500", kDirectoryBic, ""},
        {"54010001", "500", "DE61540100010000500500", kDirectoryBic, ""},
        // 9 digits, zero-filled by the IBAN with one leading "0".
        {"54000001", "1761070000", "DE57540000010176107000", kDirectoryBic, ""},
        {"54010001", "1761070000", "DE81540100010176107000", kDirectoryBic, ""},
    };
    expectCases(rulesDirectory(), bothVersions);
    const RuleCase cases[] = {
        {"54000001", "45796740", "DE77540000010045796743", kDirectoryBic, ""},
        {"54000001", "69796740", "DE41540000010069796743", kDirectoryBic, ""},
        {"54000001", "29796740", "DE04540000010029796743", kDirectoryBic, ""},
        {"54000001", "50796740", "DE21540000010050796743", kDirectoryBic, ""},
        {"54000001", "30796740", "DE35540000010030796740", kDirectoryBic, ""},
        {"54000001", "09796740", "DE18540000010009796740", kDirectoryBic, ""},
        {"54000001", "70796740", "DE72540000010070796740", kDirectoryBic, ""},
        {"54000001", "44796740", "DE14540000010044796740", kDirectoryBic, ""},
        {"54000001", "46796740", "DE11540000010046796740", kDirectoryBic, ""},
        {"54000001", "49796740", "DE55540000010049796740", kDirectoryBic, ""},
        {"54000001", "0000000500", "DE62540000010000000500", kDirectoryBic, ""},
        {"54000001", "636306", "DE05540000010000063606", kDirectoryBic, ""},
        {"54000001", "2210531180", "DE51540000010201053180", kDirectoryBic, ""},
        {"54000001", "502", "DE12540000010000502502", kDirectoryBic, ""},
        {"54000001", "10796741", "DE38540000010010796741", kDirectoryBic, ""},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0054, replaces_exactly_the_prefixes_of_its_pattern)
{
    for (const char* blz : {"54000001", "54010001"}) {
        for (int prefix = 0; prefix <= 99; ++prefix) {
            const std::string digits = {static_cast<char>('0' + prefix / 10), static_cast<char>('0' + prefix % 10)};
            const bool listed = (prefix >= 10 && prefix <= 29) || prefix == 45 || (prefix >= 50 && prefix <= 69);
            const auto row = test::convert(rulesDirectory(), blz, digits + "796740");
            EXPECT_EQ(row.iban, IBANBilden(blz, digits + (listed ? "796743" : "796740"))) << blz << " " << digits;
        }
    }
}

TEST(Rule0055, moves_every_account_to_the_building_society)
{
    const RuleCase cases[] = {
        {"55000001", "1234567", "DE85254102000001234567", "BHWBDE2HXXX", ""},
        {"55000002", "1234567", "DE85254102000001234567", "BHWBDE2HXXX", ""},
        {"55000002", "1", "DE93254102000000000001", "BHWBDE2HXXX", ""},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0056, gives_fixed_ibans_first_and_wants_ten_digits_at_listed_banks_all_read_as_numbers)
{
    const RuleCase cases[] = {
        {"12345678", "36", "DE29380101111010240003", kDirectoryBic, ""},
        {"12345678", "123", "DE21123456780000000123", kDirectoryBic, ""},
        {"12345678", "0000000036", "DE29380101111010240003", kDirectoryBic, ""},
        // Fixed IBANs hold at the listed banks too, without a refusal.
        {"38010111", "36", "DE29380101111010240003", kDirectoryBic, ""},
        {"69010111", "500500500", "DE17600101111045720000", kDirectoryBic, ""},
        {"38010111", "1234567890", "DE31380101111234567890", kDirectoryBic, ""},
        {"38010111", "0000000036", "DE29380101111010240003", kDirectoryBic, ""},
        {"38010111", "0000123456", "", kDirectoryBic, kHint1Rule0056},
        {"69010111", "1234567890", "DE32690101111234567890", kDirectoryBic, ""},
        {"38010111", "12345", "", kDirectoryBic, kHint1Rule0056},
        {"38010111", "123456789", "", kDirectoryBic, kHint1Rule0056},
        {"38010111", "12345678901", "", kDirectoryBic, kHint9},
        {"38010111", "", "", kDirectoryBic, kHint9},
        {"10010111", "12345", "", kDirectoryBic, kHint1Rule0056},
        {"42610112", "12345", "", kDirectoryBic, kHint1Rule0056},
        {"35211012", "12345", "", kDirectoryBic, kHint1Rule0056},
        {"69010111", "12345", "", kDirectoryBic, kHint1Rule0056},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rule0057, moves_only_its_blz_and_writes_the_bic_at_once)
{
    const RuleCase cases[] = {
        {"50810900", "1234567", "DE40660102000001234567", "BBSPDE6KXXX", ""},
        {"50810901", "1234567", "DE26508109010001234567", kDirectoryBic, ""},
        {"50810900", "abc", "", "BBSPDE6KXXX", kHint9},
    };
    expectCases(rulesDirectory(), cases);
}

TEST(Rules0050, other_versions_and_later_rule_numbers_get_hint_11)
{
    struct NoOutcome {
        const char* blz;
        const char* code;
        const char* account;
    };
    for (const auto& c : std::vector<NoOutcome>{
             {"28252760", "005001", "1234567"},
             {"51000001", "005101", "333"},
             {"67220020", "005201", "5308810004"},
             {"55050000", "005301", "908"},
             {"54000001", "005402", "10796740"},
             {"55000001", "005501", "1234567"},
             {"38010111", "005601", "36"},
             {"38010111", "005601", "12345"},
             {"50810900", "005701", "1234567"},
             {"50810900", "005800", "1234567"},
         }) {
        SCOPED_TRACE(std::string(c.code) + " " + c.blz + " " + c.account);
        const auto directory = test::directoryOf({{c.blz, c.code, "OWNBDEFFXXX"}});
        const auto row = test::convert(directory, c.blz, c.account);
        EXPECT_EQ(row.bic, "OWNBDEFFXXX");
        EXPECT_EQ(row.iban, "");
        EXPECT_EQ(row.hint, "11-IBAN-Regel unbekannt (Programm-Update nötig), IBAN-Regel: " + std::string(c.code));
    }
}

template <typename Row, typename Key> std::size_t distinctKeys(std::span<const Row> table, Key key)
{
    std::set<std::string> keys;
    for (const auto& row : table)
        keys.insert(key(row));
    return keys.size();
}

TEST(Rules0050Tables, hold_the_stated_number_of_distinct_rows)
{
    const auto account = [](const auto& row) { return std::string(row.account); };
    const auto pair = [](const auto& row) { return std::string(row.blz) + "/" + std::string(row.account); };

    EXPECT_EQ(rule0051Accounts().size(), 4u);
    EXPECT_EQ(distinctKeys(rule0051Accounts(), account), 4u);
    EXPECT_EQ(rule0052Pairs().size(), 10u);
    EXPECT_EQ(distinctKeys(rule0052Pairs(), pair), 10u);
    EXPECT_EQ(rule0053Accounts().size(), 46u);
    EXPECT_EQ(distinctKeys(rule0053Accounts(), pair), 46u);
    EXPECT_EQ(distinctKeys(rule0053Accounts(), [](const auto& row) { return std::string(row.blz); }), 6u);
    EXPECT_EQ(rule0054Accounts().size(), 55u);
    EXPECT_EQ(rule0054PatternRowCount(), 41u);
    EXPECT_EQ(distinctKeys(rule0054Accounts(), account), 55u);
    EXPECT_EQ(rule0056Blzs().size(), 64u);
    EXPECT_EQ(distinctKeys(rule0056Blzs(), [](std::string_view blz) { return std::string(blz); }), 64u);
    EXPECT_EQ(rule0056FixedIbans().size(), 35u);
    EXPECT_EQ(distinctKeys(rule0056FixedIbans(), account), 35u);
}

TEST(Rules0050Tables, rule_0054_pattern_rows_pair_prefix_796740_with_prefix_796743)
{
    const auto rows = rule0054Accounts().first(rule0054PatternRowCount());
    EXPECT_EQ(rows.front().account, "10796740");
    EXPECT_EQ(rows.back().account, "69796740");
    for (const auto& row : rows) {
        ASSERT_EQ(row.account.size(), 8u);
        EXPECT_EQ(row.account.substr(2), "796740");
        EXPECT_EQ(row.replacement, std::string(row.account.substr(0, 2)) + "796743");
    }
    EXPECT_EQ(rule0054Accounts()[rule0054PatternRowCount()].account, "500");
}

TEST(Rules0050Tables, every_fixed_iban_is_german_with_valid_check_digits)
{
    for (const auto& row : rule0056FixedIbans()) {
        SCOPED_TRACE(std::string(row.iban));
        EXPECT_TRUE(test::hasValidIbanCheckDigits(row.iban));
    }
}

TEST(Rules0050, bundled_sample_file_drives_the_rules)
{
    BankDirectory directory;
    loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    const auto brl = test::convert(directory, "28252760", "1234567");
    EXPECT_EQ(brl.iban, "DE39285500000001234567");
    EXPECT_EQ(brl.bic, "BRLADE21LER");
    EXPECT_EQ(brl.hint, "");

    const auto sola = test::convert(directory, "67220020", "5308810004");
    EXPECT_EQ(sola.iban, "DE38600501010002662604");
    EXPECT_EQ(sola.bic, "SOLADEST600");

    const auto refused = test::convert(directory, "38010111", "12345");
    EXPECT_EQ(refused.iban, "");
    EXPECT_EQ(refused.bic, "TSTBDE38XXX");
    EXPECT_EQ(refused.hint, kHint1Rule0056);

    const auto fixed = test::convert(directory, "38010111", "36");
    EXPECT_EQ(fixed.iban, "DE29380101111010240003");
    EXPECT_EQ(fixed.hint, "");
}

} // namespace
} // namespace zelvan
