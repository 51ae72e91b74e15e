#include "clientdb/HintClass.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(HintClass, number_and_class_of_a_hint)
{
    struct Case {
        const char* hint;
        long long number;
        HintClass hintClass;
    };
    const Case cases[] = {
        {"", 0, HintClass::None},
        {"3-BLZ ist nicht im Bundesbank-Bestand", 3, HintClass::Error},
        {"9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen.", 9, HintClass::Error},
        {"101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber", 101,
         HintClass::Conversion},
        {"103-Die gespeicherte BLZ wurde gelöscht und durch eine Nachfolge-BLZ ersetzt", 103, HintClass::Conversion},
        {"  100", 100, HintClass::Conversion},
        {"99-", 99, HintClass::Error},
        {"Bitte prüfen", 0, HintClass::Error}, // typed by hand, no number
        {" ", 0, HintClass::Error},
        {"-150", -150, HintClass::Error},
        {"99999999999999999999-", 9999999999999, HintClass::Conversion}, // stops reading, never overflows
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hintNumberOf(c.hint), c.number) << c.hint;
        EXPECT_EQ(classifyHint(c.hint), c.hintClass) << c.hint;
    }
}

TEST(HintClass, counts_rows_with_an_error_hint_and_with_a_conversion_hint)
{
    WorkingSetArray rows(6);
    rows[0][AccountColumn::Hint] = "3-BLZ ist nicht im Bundesbank-Bestand";
    rows[1][AccountColumn::Hint] =
        "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber";
    rows[2][AccountColumn::Hint] = "Bitte prüfen";
    rows[3][AccountColumn::Hint] = "103-Die gespeicherte BLZ wurde gelöscht und durch eine Nachfolge-BLZ ersetzt";
    rows[4][AccountColumn::Hint] = "99-";
    // rows[5] has no hint; the hint number column alone does not count.
    rows[5][AccountColumn::HintNumber] = "3";
    EXPECT_EQ(countHints(rows), (HintCounts{3, 2}));
    EXPECT_EQ(countHints({}), (HintCounts{0, 0}));
}

} // namespace
} // namespace zelvan
