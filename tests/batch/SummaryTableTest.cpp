#include "batch/SummaryTable.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(SummaryTable, fields_stand_in_the_order_of_the_headings)
{
    const BatchLine line{"7",  "/k/MARL007.MDB", "", 9, 6, 1, 2, 3, "/k/Sicherung_ZELVAN/MARL007.MDB.x", "gespeichert",
                         false};
    const std::array<std::string, kSummaryColumnCount> expected{
        "7", "/k/MARL007.MDB", "", "9", "6", "1", "2", "3", "/k/Sicherung_ZELVAN/MARL007.MDB.x", "gespeichert"};
    EXPECT_EQ(summaryFields(line), expected);
}

// The quoting and the formula guard themselves: see the CSV reports' test.
TEST(SummaryTable, fields_with_a_separator_are_quoted_and_only_a_spreadsheet_gets_no_formula)
{
    struct Case {
        const char* result;
        const char* written;
        CsvReader reader = CsvReader::Spreadsheet;
    };
    const Case cases[] = {
        {"a;b", "\"a;b\""},
        {"=1+1", "'=1+1"},
        {"=1+1", "=1+1", CsvReader::Program},
    };
    for (const auto& c : cases) {
        BatchSummary summary;
        summary.lines.push_back({"1", "f", "", 0, 0, 0, 0, 0, "", c.result, false});
        const auto text = summaryText(summary, "\r\n", c.reader);
        const auto second = text.substr(text.find("\r\n") + 2);
        EXPECT_EQ(second, std::string("1;f;;0;0;0;0;0;;") + c.written + "\r\n") << c.result;
    }
}

} // namespace
} // namespace zelvan
