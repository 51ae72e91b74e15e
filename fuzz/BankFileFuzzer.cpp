// Fuzzes the bank-code file reader: line splitting, the check of the whole file, the fixed-width
// fields, the sorted directory, and the conversion of a few account numbers with whatever banks the input describes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "bankdir/BankDirectory.h"
#include "bankdir/BankFileCheck.h"
#include "bankdir/LineScanner.h"
#include "iban/ConversionRun.h"

using namespace zelvan;
using zelvan::fuzz::require;

namespace {

// Accounts tried against each bank: ordinary, short, long, zero, blanks, letters, empty.
constexpr std::array<std::string_view, 8> kAccounts{
    "1234567", "0", "9999999999", "12345678901", "  0012345678 ", "12A45", "", "0000000000",
};

// Strict UTF-8 (no overlong forms, no surrogates), as the short name must be after decoding.
bool isUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        unsigned value = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            value = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            value = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            value = c & 0x07u;
        } else {
            return false;
        }
        if (more > text.size() - i - 1)
            return false;
        for (std::size_t k = 1; k <= more; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u)
                return false;
            value = (value << 6) | (next & 0x3Fu);
        }
        if ((more == 2 && (value < 0x800 || (value >= 0xD800 && value <= 0xDFFF))) ||
            (more == 3 && (value < 0x10000 || value > 0x10FFFF)))
            return false;
        i += more + 1;
    }
    return true;
}

std::size_t lineCount(std::string_view text)
{
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto stop = text.find('\n', start);
        ++lines;
        start = stop == std::string_view::npos ? text.size() : stop + 1;
    }
    return lines;
}

// Hands the lines to the check and notes the shortest and the longest.
struct CheckedLines final : LineSink {
    void begin(std::size_t) override {}
    void line(std::string_view line) override
    {
        check.line(line);
        longest = std::max(longest, line.size());
        shortest = std::min(shortest, line.size());
    }
    void end() override {}

    BankFileCheck check;
    std::size_t longest = 0;
    std::size_t shortest = SIZE_MAX;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    BankDirectory directory;
    scanText(text, directory);

    // The check takes a file only when every line has the Bundesbank's length and one main entry
    // per BLZ, and otherwise says why.
    CheckedLines lines;
    scanText(text, lines);
    const auto verdict = lines.check.finish();
    require(verdict.ok == verdict.problem.empty(), "Prüfung ohne Begründung");
    if (verdict.ok) {
        require(lines.longest == kBankLineBytes && lines.shortest == kBankLineBytes, "Zeile falscher Länge angenommen");
        for (int row = 2; row <= directory.Count(); ++row)
            require(directory.entry(row - 1).blz != directory.entry(row).blz, "zweiter Haupteintrag angenommen");
    }

    const int count = directory.Count();
    require(static_cast<std::size_t>(count) <= lineCount(text), "mehr Banken als Zeilen");
    for (int row = 1; row <= count; ++row) {
        const BankEntry& entry = directory.entry(row);
        require(entry.blz.size() <= 8 && entry.bic.size() <= 11 && entry.checkMethod.size() <= 2 &&
                    entry.successorBlz.size() <= 8 && entry.ruleCode.size() <= 6 && entry.changeCode.size() <= 1,
                "Feld breiter als seine Spalte");
        require(entry.shortName.size() <= 27 * 3 && isUtf8(entry.shortName), "Kurzname kein UTF-8");
        require(row == 1 || directory.entry(row - 1).blz <= entry.blz, "Verzeichnis nicht sortiert");
        const int found = directory.Find(entry.blz);
        require(found >= 1 && found <= row && directory.entry(found).blz == entry.blz, "BLZ nicht gefunden");
        require(found == row || directory.entry(row - 1).blz == entry.blz, "nicht die erste gleiche BLZ");
        for (int column = 0; column < kBankFieldCount; ++column)
            require(&directory.Field(row, column) == &entry.field(static_cast<BankField>(column)), "Field falsch");
    }
    require(directory.Field(0, 0).empty() && directory.Field(count + 1, 0).empty() &&
                directory.Field(1, -1).empty() && directory.Field(1, kBankFieldCount).empty(),
            "Feld außerhalb der Tabelle nicht leer");

    // A file whose BLZs hold other characters than digits cannot give sound IBANs.
    bool digitBlzs = true;
    for (int row = 1; row <= count; ++row) {
        const BankEntry& entry = directory.entry(row);
        digitBlzs = digitBlzs && zelvan::fuzz::isDigits(entry.blz) && zelvan::fuzz::isDigits(entry.successorBlz);
    }

    // A few banks through the whole conversion, in every client format.
    for (int row = 1; row <= count && row <= 4; ++row) {
        const std::string blz = directory.entry(row).blz;
        for (const auto account : kAccounts) {
            for (int format = 1; format <= 4; ++format) {
                AccountRow converted;
                converted[AccountColumn::Blz] = blz;
                converted[AccountColumn::Account] = account;
                ConversionOptions options;
                options.format = static_cast<ClientFormat>(format);
                options.overwriteBankName = format % 2 == 0;
                convertRow(converted, directory, options);
                const std::string& iban = converted[AccountColumn::Iban];
                if (!iban.empty() && digitBlzs)
                    require(zelvan::fuzz::isValidGermanIban(iban), "IBAN ungültig");
                AccountRow again = converted;
                convertRow(again, directory, options);
                require(again.cells == converted.cells, "zweite Konvertierung anders");
            }
        }
    }
    return 0;
}
