#include "bankdir/BankFileCheck.h"

#include <gtest/gtest.h>

#include "support/BankFileBuilder.h"

namespace zelvan {
namespace {

using test::BankLine;
using test::formatLine;

BankFileCheck::Verdict verdictOf(const std::vector<std::string>& lines)
{
    BankFileCheck check;
    for (const auto& line : lines)
        check.line(line);
    return check.finish();
}

BankLine bank(const std::string& blz, char feature = '1')
{
    BankLine line;
    line.blz = blz;
    line.feature = feature;
    return line;
}

TEST(BankFileCheck, a_field_out_of_form_is_named_with_its_bytes_and_content)
{
    struct Case {
        void (*change)(BankLine&);
        const char* problem;
    };
    const Case cases[] = {
        {[](BankLine& l) { l.blz = "1234567X"; },
         "Zeile 7: Das Feld \"Bankleitzahl\" (Bytes 1 bis 8) enthält \"1234567X\" statt 8 Ziffern."},
        {[](BankLine& l) { l.blz = "1234\t678"; },
         "Zeile 7: Das Feld \"Bankleitzahl\" (Bytes 1 bis 8) enthält \"1234?678\" statt 8 Ziffern."},
        {[](BankLine& l) { l.feature = '3'; }, "Zeile 7: Das Feld \"Merkmal\" (Byte 9) enthält \"3\" statt 1 oder 2."},
        {[](BankLine& l) { l.checkMethod = "a1"; },
         "Zeile 7: Das Feld \"Prüfzifferberechnungsmethode\" (Bytes 151 bis 152) enthält \"a1\" statt 2 Zeichen aus "
         "0-9 und A-Z."},
        {[](BankLine& l) { l.recordNumber = "00001"; },
         "Zeile 7: Das Feld \"Datensatznummer\" (Bytes 153 bis 158) enthält \"00001 \" statt 6 Ziffern."},
        {[](BankLine& l) { l.changeCode = '\xC4'; },
         "Zeile 7: Das Feld \"Änderungskennzeichen\" (Byte 159) enthält \"Ä\" statt A, D, M oder U."},
        {[](BankLine& l) { l.deletion = '2'; },
         "Zeile 7: Das Feld \"Bankleitzahllöschung\" (Byte 160) enthält \"2\" statt 0 oder 1."},
        {[](BankLine& l) { l.ruleCode = "00000A"; },
         "Zeile 7: Das Feld \"IBAN-Regel\" (Bytes 169 bis 174) enthält \"00000A\" statt 6 Ziffern."},
    };
    for (const auto& c : cases) {
        BankLine line;
        c.change(line);
        EXPECT_EQ(checkBankLine(formatLine(line), 7), c.problem);
    }
}

TEST(BankFileCheck, every_checked_byte_takes_exactly_the_values_of_its_field)
{
    const std::string digits = "0123456789";
    struct Field {
        std::size_t first; // byte positions, 1-based
        std::size_t last;
        std::string accepted;
        const char* name;
    };
    const Field fields[] = {
        {1, 8, digits, "Bankleitzahl"},
        {9, 9, "12", "Merkmal"},
        {151, 152, digits + "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "Prüfzifferberechnungsmethode"},
        {153, 158, digits, "Datensatznummer"},
        {159, 159, "ADMU", "Änderungskennzeichen"},
        {160, 160, "01", "Bankleitzahllöschung"},
        {161, 168, digits, "Nachfolge-Bankleitzahl"},
        {169, 174, digits, "IBAN-Regel"},
    };
    const std::string good = formatLine(BankLine{});
    for (const auto& field : fields) {
        for (auto position = field.first; position <= field.last; ++position) {
            for (int value = 0; value < 256; ++value) {
                std::string line = good;
                line[position - 1] = static_cast<char>(value);
                const bool accepted = value != 0 && field.accepted.find(static_cast<char>(value)) != std::string::npos;
                const auto problem = checkBankLine(line, 1);
                if (accepted)
                    EXPECT_EQ(problem, "") << position << ' ' << value;
                else
                    EXPECT_TRUE(problem.starts_with("Zeile 1: Das Feld \"" + std::string(field.name) + "\""))
                        << position << ' ' << value << ' ' << problem;
            }
        }
    }
    // Bytes between the checked fields (names, town, BIC) are free.
    std::string line = good;
    line[50] = '\x01';
    line[139] = '\xFF';
    EXPECT_EQ(checkBankLine(line, 1), "");
}

TEST(BankFileCheck, a_line_of_another_length_is_counted_in_bytes)
{
    const std::string good = formatLine(BankLine{});
    struct Case {
        std::string line;
        const char* problem;
    };
    const Case cases[] = {
        {"", "Zeile 3 ist leer."},
        {"1", "Zeile 3 ist 1 Byte lang statt 174."},
        {good.substr(0, 173), "Zeile 3 ist 173 Bytes lang statt 174."},
        {good.substr(0, 168), "Zeile 3 ist 168 Bytes lang statt 174."},
        {good + " ", "Zeile 3 ist 175 Bytes lang statt 174."},
        // An umlaut in UTF-8: two bytes where Windows-1252 has one.
        {good.substr(0, 110) + "\xC3\xBC" + good.substr(111),
         "Zeile 3 ist 175 Bytes lang statt 174 – ist die Datei als UTF-8 gespeichert?"},
        {"\xEF\xBB\xBF" + good, "Zeile 3 ist 177 Bytes lang statt 174 – ist die Datei als UTF-8 gespeichert?"},
        // A Windows-1252 umlaut before a letter is no UTF-8.
        {good.substr(0, 110) + "\xFCr" + good.substr(111), "Zeile 3 ist 175 Bytes lang statt 174."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkBankLine(c.line, 3), c.problem);
}

TEST(BankFileCheck, a_file_of_168_byte_lines_is_the_version_without_iban_rules)
{
    const std::string line = formatLine(BankLine{}).substr(0, 168);
    const auto verdict = verdictOf({line, line, line});
    EXPECT_FALSE(verdict.ok);
    EXPECT_EQ(verdict.problem, "Ihre Zeilen sind 168 Bytes lang: Das ist die Fassung der BLZ-Datei ohne IBAN-Regeln. "
                               "Bitte die BLZ-Datei der Bundesbank mit dem Feld \"IBAN-Regel\" (174 Bytes je Zeile) "
                               "verwenden.");

    // One line of 174 bytes among them: no longer that version, just a bad line.
    EXPECT_EQ(verdictOf({formatLine(BankLine{}), line}).problem, "Zeile 2 ist 168 Bytes lang statt 174.");
}

TEST(BankFileCheck, a_second_main_entry_of_a_blz_is_refused_in_any_order)
{
    struct Case {
        std::vector<std::string> lines;
        const char* problem;
    };
    const auto a = formatLine(bank("10000000"));
    const auto b = formatLine(bank("20000000"));
    const auto c = formatLine(bank("30000000"));
    const auto aBranch = formatLine(bank("10000000", '2'));
    const auto bad = formatLine(bank("10000000")).substr(0, 100);
    const Case duplicates[] = {
        {{a, aBranch, a},
         "Zeile 3: Die Bankleitzahl 10000000 hat einen zweiten Haupteintrag (Merkmal 1); der erste steht in Zeile 1."},
        {{b, a, c, a},
         "Zeile 4: Die Bankleitzahl 10000000 hat einen zweiten Haupteintrag (Merkmal 1); der erste steht in Zeile 2."},
        {{c, b, a, b, a},
         "Zeile 4: Die Bankleitzahl 20000000 hat einen zweiten Haupteintrag (Merkmal 1); der erste steht in Zeile 2."},
        // Whichever comes first in the file is reported: the bad line, or the second entry.
        {{b, a, bad, c, a}, "Zeile 3 ist 100 Bytes lang statt 174."},
        {{b, a, c, a, bad},
         "Zeile 4: Die Bankleitzahl 10000000 hat einen zweiten Haupteintrag (Merkmal 1); der erste steht in Zeile 2."},
    };
    for (const auto& duplicate : duplicates) {
        const auto verdict = verdictOf(duplicate.lines);
        EXPECT_FALSE(verdict.ok);
        EXPECT_EQ(verdict.problem, duplicate.problem);
    }
    // Branch lines share their bank's BLZ.
    EXPECT_TRUE(verdictOf({a, aBranch, aBranch, b}).ok);
}

TEST(BankFileCheck, a_file_without_a_main_entry_holds_no_bank)
{
    for (const auto& lines : {std::vector<std::string>{}, {formatLine(bank("10000000", '2'))}}) {
        const auto verdict = verdictOf(lines);
        EXPECT_FALSE(verdict.ok);
        EXPECT_EQ(verdict.problem,
                  "Sie enthält keine Bankleitzahl im Format der Bundesbank (keine Zeile mit Merkmal 1).");
    }
}

} // namespace
} // namespace zelvan
