#include "bankdir/BankDirectory.h"

#include <gtest/gtest.h>

#include "support/BankFileBuilder.h"

namespace zelvan {
namespace {

using test::BankLine;
using test::formatLine;

BankDirectory directoryOf(const std::vector<std::string>& lines)
{
    BankDirectory directory;
    directory.begin();
    for (const auto& line : lines)
        directory.line(line);
    directory.end();
    return directory;
}

TEST(BankDirectory, reads_the_fields_of_a_bank_line)
{
    BankLine line;
    line.blz = "50060400";
    line.shortName = "  Gro\xDF"
                     "bank K\xF6ln";
    line.bic = "GROBDEKK";
    line.checkMethod = "09";
    line.ruleCode = "004201";
    const auto directory = directoryOf({formatLine(line)});

    ASSERT_EQ(directory.Count(), 1);
    const int row = directory.Find("50060400");
    ASSERT_EQ(row, 1);
    EXPECT_EQ(directory.Field(row, 0), "50060400");
    EXPECT_EQ(directory.Field(row, 1), "Großbank Köln");
    EXPECT_EQ(directory.Field(row, 2), "GROBDEKK   "); // the BIC keeps its padding
    EXPECT_EQ(directory.Field(row, 3), "09");
    EXPECT_EQ(directory.Field(row, 4), "");
    EXPECT_EQ(directory.Field(row, 5), "004201");
    EXPECT_EQ(directory.Field(row, 6), "U");
}

TEST(BankDirectory, only_bank_lines_enter_and_are_sorted_by_blz)
{
    BankLine a, b, c, branch;
    a.blz = "70000000";
    b.blz = "10000000";
    c.blz = "40000000";
    branch.blz = "20000000";
    branch.feature = '2';
    const auto directory = directoryOf({formatLine(a), formatLine(branch), formatLine(b), formatLine(c)});

    ASSERT_EQ(directory.Count(), 3);
    EXPECT_EQ(directory.Field(1, 0), "10000000");
    EXPECT_EQ(directory.Field(2, 0), "40000000");
    EXPECT_EQ(directory.Field(3, 0), "70000000");
    EXPECT_EQ(directory.Find("20000000"), 0);
    EXPECT_EQ(directory.Find("1000000"), 0);
    EXPECT_EQ(directory.Find("10000000 "), 0);
}

TEST(BankDirectory, find_agrees_with_a_search_through_every_row)
{
    // Many BLZs sharing their first or last digits, duplicates, and keys of other lengths.
    std::vector<std::string> lines;
    for (int i = 0; i < 3000; ++i) {
        BankLine line;
        line.blz = std::to_string(10000000 + (i * 7919) % 90000000);
        if (i % 10 == 0)
            line.blz = std::to_string(50000000 + i % 50); // repeats
        line.bic = "B" + std::to_string(i);
        lines.push_back(formatLine(line));
    }
    const auto directory = directoryOf(lines);
    auto linearFind = [&](std::string_view blz) {
        for (int row = 1; row <= directory.Count(); ++row) {
            if (directory.entry(row).blz == blz)
                return row;
        }
        return 0;
    };
    for (int row = 1; row <= directory.Count(); ++row) {
        const auto& blz = directory.entry(row).blz;
        ASSERT_EQ(directory.Find(blz), linearFind(blz)) << blz;
    }
    for (const std::string_view missing : {"", "5000000", "500000000", "99999999", "5000004 ", "00000000"})
        EXPECT_EQ(directory.Find(missing), linearFind(missing)) << missing;
}

TEST(BankDirectory, malformed_lines_neither_crash_nor_lose_good_lines)
{
    BankLine good;
    good.blz = "60000000";
    const std::string full = formatLine(good);
    good.blz = "60000001";
    const std::string cutShort = formatLine(good).substr(0, 120);
    good.blz = "60000002";
    const std::string overlong = formatLine(good) + std::string(10'000'000, 'x');
    const std::vector<std::string> lines{
        "",
        "12345678",  // too short for the feature
        "123456781", // a bank line that ends after the feature
        cutShort,    // cut inside the short name
        overlong,    // far too long
        std::string("\0\x01\xFF\xFE\x80\x81", 6) + std::string(200, '\0'),
        "\xC3\xA4\xC3\xB6" + full.substr(4), // UTF-8 bytes, not Windows-1252
        full,
    };
    const auto directory = directoryOf(lines);

    EXPECT_EQ(directory.Count(), 5);
    const int shortRow = directory.Find("12345678");
    ASSERT_GT(shortRow, 0);
    for (int column = 1; column < kBankFieldCount; ++column)
        EXPECT_EQ(directory.Field(shortRow, column), "") << column;
    EXPECT_EQ(directory.Field(directory.Find("60000000"), 5), "000000");
    EXPECT_EQ(directory.Field(directory.Find("60000001"), 1), "Testbank");
    EXPECT_EQ(directory.Field(directory.Find("60000001"), 5), "");
    EXPECT_EQ(directory.Field(directory.Find("60000002"), 5), "000000");
}

TEST(BankDirectory, field_outside_the_table_is_empty)
{
    const auto directory = directoryOf({formatLine(BankLine{})});
    EXPECT_EQ(directory.Field(0, 0), "");
    EXPECT_EQ(directory.Field(2, 0), "");
    EXPECT_EQ(directory.Field(1, 7), "");
    EXPECT_EQ(directory.Field(1, -1), "");
}

TEST(BankDirectory, begin_forgets_an_earlier_load)
{
    auto directory = directoryOf({formatLine(BankLine{})});
    directory.begin();
    directory.end();
    EXPECT_EQ(directory.Count(), 0);
}

} // namespace
} // namespace zelvan
