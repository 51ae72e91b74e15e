#include "iban/ConversionHint.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(ConversionHint, every_text_begins_with_its_number_and_a_hyphen)
{
    for (const int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, 101, 102, 103}) {
        const auto text = ConversionHint(static_cast<HintNumber>(number), "004200");
        EXPECT_TRUE(text.starts_with(std::to_string(number) + "-")) << text;
    }
}

TEST(ConversionHint, texts_that_name_the_rule_get_the_code_appended)
{
    EXPECT_EQ(ConversionHint(HintNumber::AccountExcluded, "000200"), "1-Konto ohne IBAN-Berechnung, IBAN-Regel: 000200");
    EXPECT_EQ(ConversionHint(HintNumber::IbanNotPossible, "003400"), "6-IBAN-Berechnung nicht möglich, IBAN-Regel: 003400");
    EXPECT_EQ(ConversionHint(HintNumber::BlockedAccountRange, "003600"),
              "7-IBAN-Berechnung nicht möglich, gesperrte Kontenkreise, IBAN-Regel: 003600");
    EXPECT_EQ(ConversionHint(HintNumber::EightDigitAccountsOnly, "004200"),
              "8-IBAN-Berechnung nur möglich für 8-stellige Kontonummern, IBAN-Regel: 004200");
    EXPECT_EQ(ConversionHint(HintNumber::BlzWithoutIban, "000100"), "4-BLZ ohne IBAN-Ermittlung");
    EXPECT_EQ(ConversionHint(HintNumber::InvalidAccountNumber, "000000"),
              "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.");
    EXPECT_EQ(ConversionHint(HintNumber::SuccessorBlzUsed),
              "103-Die gespeicherte BLZ wurde gelöscht und durch eine Nachfolge-BLZ ersetzt");
}

} // namespace
} // namespace zelvan
