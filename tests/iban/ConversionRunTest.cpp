#include "iban/ConversionRun.h"

#include <gtest/gtest.h>

#include "iban/AccountCheckDigits.h"
#include "iban/ConversionHint.h"
#include "support/RecordingUserInterface.h"
#include "support/RuleTestDirectory.h"

namespace zelvan {
namespace {

BankDirectory testDirectory()
{
    return test::directoryOf({
        {"50060400", "000000", "BZBKDEFF"},
        {"30040050", "000100"},
        {"40050060", "000000", "ALTBDEMMXXX", "00", 'D', "40050070"}, // deleted, successor present
        {"40050070", "000000", "NEUBDEMMXXX"},
        {"40050080", "000000", "RESTDEMMXXX", "00", 'D', "49999999"},      // successor missing
        {"40050090", "000000", "SCHLDEMMXXX", "00", 'D'},                  // "D" without successor
        {"40050100", "000000", "ALT2DEMMXXX", "00", 'D', "30040050"},      // successor without IBAN
        {"40050110", "000000", "ALT3DEMMXXX", "00", 'M', "40050070"},      // successor, but not deleted
        {"40050120", "000000", "ALT4DEMMXXX", "00", 'U', "40050070", '1'}, // deletion flag, successor present
        {"40050130", "000000", "ALT5DEMMXXX", "00", 'U', "00000000", '1'}, // deletion flag, no successor
        {"40050140", "000000", "ALT6DEMMXXX", "00", 'U', "49999999", '1'}, // deletion flag, successor missing
        {"40050150", "000100", "ALT7DEMMXXX", "00", 'U', "40050070", '1'}, // deletion flag, own rule 000100
        {"40050160", "000200", "ALT8DEMMXXX", "00", 'M', "40050070", '1'}, // deletion flag, own rule 000200
        {"40050170", "000100", "ALT9DEMMXXX", "00", 'D', "40050070", '1'}, // deleted, own rule 000100
        {"1234567 ", "000000"},                                            // a BLZ of 7 characters
    });
}

AccountRow rowOf(const std::string& blz, const std::string& account)
{
    AccountRow row;
    row[AccountColumn::Key] = "4711";
    row[AccountColumn::SearchName] = "MUELLER";
    row[AccountColumn::Blz] = blz;
    row[AccountColumn::Account] = account;
    row[AccountColumn::Bic] = "ALTER BIC";
    row[AccountColumn::Iban] = "ALTE IBAN";
    row[AccountColumn::Hint] = "alter Hinweis";
    row[AccountColumn::BankName] = "Alte Bank";
    row[AccountColumn::HintNumber] = "3";
    row[AccountColumn::DeductionLine] = "2";
    return row;
}

const std::string kHint3 = ConversionHint(HintNumber::BlzNotInDirectory);
const std::string kHint4 = ConversionHint(HintNumber::BlzWithoutIban);
const std::string kHint5 = ConversionHint(HintNumber::BlzNotEightDigits);
const std::string kHint9 = ConversionHint(HintNumber::InvalidAccountNumber);
const std::string kHint12 = "12-BLZ ist gelöscht, keine Nachfolge-BLZ. Bitte neue Bankverbindung erfragen.";
const std::string kHint103 = ConversionHint(HintNumber::SuccessorBlzUsed);

struct RunCase {
    const char* name;
    ClientFormat format;
    std::string blz;
    std::string account;
    std::string bic;
    std::string iban;
    std::string hint;
};

void PrintTo(const RunCase& c, std::ostream* os)
{
    *os << c.name;
}

class ConversionRunCases : public testing::TestWithParam<RunCase> {};

TEST_P(ConversionRunCases, converts_the_row)
{
    const auto& c = GetParam();
    const auto directory = testDirectory();
    auto row = rowOf(c.blz, c.account);

    convertRow(row, directory, {c.format, false});

    EXPECT_EQ(row[AccountColumn::Bic], c.bic);
    EXPECT_EQ(row[AccountColumn::Iban], c.iban);
    EXPECT_EQ(row[AccountColumn::Hint], c.hint);
    // The stored values and the columns the run does not own stay as they were.
    const auto before = rowOf(c.blz, c.account);
    for (const auto column : {AccountColumn::Key, AccountColumn::SearchName, AccountColumn::Blz, AccountColumn::Account,
                              AccountColumn::BankName, AccountColumn::HintNumber, AccountColumn::DeductionLine})
        EXPECT_EQ(row[column], before[column]);
}

constexpr auto kMarlo = ClientFormat::MarloOp;
constexpr auto kGaldo = ClientFormat::Galdo;

INSTANTIATE_TEST_SUITE_P(
    Run, ConversionRunCases,
    testing::Values(
        RunCase{"standard", kMarlo, "50060400", "11404", "BZBKDEFF   ", "DE96500604000000011404", ""},
        RunCase{"seven_digit_account", kMarlo, "50060400", "1234567", "BZBKDEFF   ", "DE91500604000001234567", ""},
        RunCase{"rule_0001_refuses", kMarlo, "30040050", "1234567", "TESTDEFFXXX", "", kHint4},
        RunCase{"blz_not_in_directory", kMarlo, "50060499", "1234567", "", "", kHint3},
        RunCase{"blz_with_trailing_blank_is_not_found", kMarlo, "50060400 ", "1234567", "", "", kHint3},
        RunCase{"empty_blz", kMarlo, "", "1234567", "", "", kHint5},
        RunCase{"seven_character_blz", kMarlo, "5006040", "1234567", "", "", kHint5},
        RunCase{"found_blz_of_seven_characters", kMarlo, "1234567 ", "1234567", "", "", kHint5},
        RunCase{"deleted_blz_uses_its_successor", kMarlo, "40050060", "1234567", "NEUBDEMMXXX",
                "DE19400500700001234567", kHint103},
        RunCase{"successor_rule_replaces_hint_103", kMarlo, "40050100", "1234567", "TESTDEFFXXX", "", kHint4},
        RunCase{"deleted_with_successor_missing_gets_hint_12", kMarlo, "40050080", "1234567", "RESTDEMMXXX", "",
                kHint12},
        RunCase{"deleted_without_successor_gets_hint_12", kMarlo, "40050090", "1234567", "SCHLDEMMXXX", "", kHint12},
        RunCase{"deleted_own_rule_does_not_matter", kMarlo, "40050170", "1234567", "NEUBDEMMXXX",
                "DE19400500700001234567", kHint103},
        RunCase{"galdo_deleted_bank_without_employee_gets_its_bic", kGaldo, "40050090", "", "SCHLDEMMXXX", "", ""},
        RunCase{"successor_of_a_bank_not_deleted_is_ignored", kMarlo, "40050110", "1234567", "ALT3DEMMXXX",
                "DE61400501100001234567", ""},
        RunCase{"galdo_bank_without_employee_gets_only_its_bic", kGaldo, "50060400", "", "BZBKDEFF   ", "", ""},
        RunCase{"galdo_bank_without_employee_unknown_blz", kGaldo, "99999999", "", "", "", ""},
        RunCase{"galdo_bank_without_employee_short_blz", kGaldo, "123", "", "", "", ""},
        RunCase{"galdo_deleted_bank_without_employee_gets_successor_bic", kGaldo, "40050060", "", "NEUBDEMMXXX", "",
                kHint103},
        RunCase{"galdo_employee_is_converted", kGaldo, "50060400", "11404", "BZBKDEFF   ", "DE96500604000000011404",
                ""},
        RunCase{"marlo_empty_account_is_invalid", kMarlo, "50060400", "", "BZBKDEFF   ", "", kHint9},
        RunCase{"letters_in_the_account_are_invalid", kMarlo, "50060400", "12 AB 45", "BZBKDEFF   ", "", kHint9},
        RunCase{"deletion_flag_uses_the_successor", kMarlo, "40050120", "1234567", "NEUBDEMMXXX",
                "DE19400500700001234567", kHint103},
        RunCase{"deletion_flag_without_successor_converts_as_it_is", kMarlo, "40050130", "1234567", "ALT5DEMMXXX",
                "DE82400501300001234567", ""},
        RunCase{"deletion_flag_with_successor_missing_keeps_the_bank", kMarlo, "40050140", "1234567", "ALT6DEMMXXX",
                "DE44400501400001234567", ""},
        RunCase{"deletion_flag_under_rule_000100_keeps_its_own_rule", kMarlo, "40050150", "4769", "ALT7DEMMXXX", "",
                kHint4},
        RunCase{"deletion_flag_under_rule_000200_keeps_its_own_rule", kMarlo, "40050160", "1234567600", "ALT8DEMMXXX",
                "", "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 000200"},
        RunCase{"invalid_account_replaces_hint_103", kMarlo, "40050060", "12x", "NEUBDEMMXXX", "", kHint9},
        RunCase{"leading_zeros_beyond_ten_digits_are_fine", kMarlo, "50060400", "0000000011404", "BZBKDEFF   ",
                "DE96500604000000011404", ""},
        RunCase{"blanks_inside_the_account_are_removed", kMarlo, "50060400", "11 404", "BZBKDEFF   ",
                "DE96500604000000011404", ""}),
    [](const testing::TestParamInfo<RunCase>& param) { return std::string(param.param.name); });

TEST(ConversionRun, an_error_keeps_the_iban_and_bic_stored_with_the_same_blz_and_account)
{
    const auto directory = testDirectory();
    const AccountCheckDigits checkDigits;
    struct Case {
        const char* name;
        std::string blz;
        std::string account;
        const AccountCheckDigits* checker;
        std::string iban; // after the conversion
        std::string bic;
    };
    // 30040050 has rule 000100 (hint 4); 50060400 converts 11404 and gets hint 10 for 11405 with
    // the check-digit option (method 00).
    const Case cases[] = {
        {"error_hint_keeps_the_stored_iban", "30040050", "4769", nullptr, "DE11STORED", "STORDEFFXXX"},
        {"check_digit_hint_keeps_the_stored_iban", "50060400", "11405", &checkDigits, "DE11STORED", "STORDEFFXXX"},
        {"changed_account_gets_no_iban", "30040050", "4770", nullptr, "", "TESTDEFFXXX"},
        {"changed_blz_gets_no_iban", "40050090", "4769", nullptr, "", "SCHLDEMMXXX"},
        {"a_computed_iban_replaces_the_stored_one", "50060400", "11404", nullptr, "DE96500604000000011404",
         "BZBKDEFF   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto row = rowOf(c.blz, c.account);
        row.stored = {"30040050", "4769", "STORDEFFXXX", "DE11STORED"};
        if (c.blz == "50060400")
            row.stored = {"50060400", c.account, "STORDEFFXXX", "DE11STORED"};
        ConversionOptions options{kMarlo, false, c.checker};
        convertRow(row, directory, options);
        EXPECT_EQ(row[AccountColumn::Iban], c.iban);
        EXPECT_EQ(row[AccountColumn::Bic], c.bic);
        // The hint says why the stored IBAN could not be confirmed.
        EXPECT_EQ(row[AccountColumn::Hint].empty(), c.iban.starts_with("DE96"));
    }
    // Loaded without an IBAN: converted as ever.
    auto row = rowOf("30040050", "4769");
    row.stored = {"30040050", "4769", "", ""};
    convertRow(row, directory, {kMarlo, false});
    EXPECT_EQ(row[AccountColumn::Iban], "");
    EXPECT_EQ(row[AccountColumn::Hint], kHint4);
}

TEST(ConversionRun, bank_name_is_written_only_with_the_option)
{
    const auto directory = testDirectory();
    auto with = rowOf("40050060", "1234567");
    auto without = with;
    auto unknown = rowOf("99999999", "1234567");

    convertRow(with, directory, {kMarlo, true});
    convertRow(without, directory, {kMarlo, false});
    convertRow(unknown, directory, {kMarlo, true});

    EXPECT_EQ(with[AccountColumn::BankName], "Bank 40050070"); // the successor's short name
    EXPECT_EQ(without[AccountColumn::BankName], "Alte Bank");
    EXPECT_EQ(unknown[AccountColumn::BankName], "Alte Bank");
}

TEST(ConversionRun, shows_progress_in_the_status_line)
{
    const auto directory = testDirectory();
    WorkingSetArray rows{rowOf("50060400", "11404")};
    test::RecordingUserInterface ui;

    runConversion(rows, directory, {}, ui);

    EXPECT_EQ(ui.statusTexts, (std::vector<std::string>{"Daten werden konvertiert...", "Bereit"}));
    EXPECT_TRUE(ui.wasBusy);
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(ui.eventTurns, 1);
}

TEST(ConversionRun, an_empty_directory_marks_every_row_with_hint_3)
{
    BankDirectory empty;
    WorkingSetArray rows{rowOf("50060400", "11404"), rowOf("10010010", "1")};
    test::RecordingUserInterface ui;

    runConversion(rows, empty, {}, ui);

    for (const auto& row : rows)
        EXPECT_EQ(row[AccountColumn::Hint], kHint3);
}

} // namespace
} // namespace zelvan
