// Fuzzes the iban command's input: line splitting and the whole conversion run over the bundled
// bank-code file. The output is compared with rows split and converted one by one here.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "bankdir/BankCodeFile.h"
#include "cli/IbanCommand.h"
#include "core/ByteOrderMark.h"

using namespace zelvan;
using zelvan::fuzz::require;

namespace {

const BankDirectory& bundledDirectory()
{
    static const BankDirectory directory = [] {
        BankDirectory loaded;
        const auto result = loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", loaded);
        require(result.ok && loaded.Count() > 0, "BLZ-Datei nicht gelesen");
        return loaded;
    }();
    return directory;
}

// One input line as the command's contract reads it: CR dropped, split at the first ";".
AccountRow rowOf(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    AccountRow row;
    const auto split = line.find(';');
    row[AccountColumn::Blz] = line.substr(0, split);
    if (split != std::string_view::npos)
        row[AccountColumn::Account] = line.substr(split + 1);
    return row;
}

// A field as RFC 4180 writes it: in quotes, inner quotes doubled, when it holds ";", a quote,
// CR or LF.
std::string quotedAsCsv(const std::string& field)
{
    if (field.find_first_of(";\"\r\n") == std::string::npos)
        return field;
    std::string quoted = "\"";
    for (const char c : field)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const BankDirectory& directory = bundledDirectory();
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The options follow from the size, so that corpus files stay plain text.
    ConversionOptions options;
    options.format = static_cast<ClientFormat>(1 + size % 4);
    options.overwriteBankName = (size / 4) % 2 == 1;

    std::istringstream in(input);
    std::ostringstream out;
    convertIbanInput(in, directory, options, out);
    const std::string output = out.str();

    // An editor's byte-order mark at the start is no part of the first row.
    const std::string_view rows = withoutByteOrderMark(input);
    std::string expected;
    std::size_t lines = 0;
    std::size_t start = 0;
    while (start < rows.size()) {
        const auto stop = rows.find('\n', start);
        const auto end = stop == std::string_view::npos ? rows.size() : stop;
        AccountRow row = rowOf(rows.substr(start, end - start));
        const AccountRow before = row;
        convertRow(row, directory, options);
        require(row[AccountColumn::Blz] == before[AccountColumn::Blz] &&
                    row[AccountColumn::Account] == before[AccountColumn::Account],
                "BLZ oder Konto verändert");
        const std::string& iban = row[AccountColumn::Iban];
        require(iban.empty() || zelvan::fuzz::isValidGermanIban(iban), "IBAN ungültig");
        for (auto column = AccountColumn::Blz; column <= AccountColumn::BankName;
             column = static_cast<AccountColumn>(static_cast<std::size_t>(column) + 1)) {
            if (column != AccountColumn::Blz)
                expected += ';';
            expected += quotedAsCsv(row[column]);
        }
        expected += '\n';
        ++lines;
        start = end == rows.size() ? end : end + 1;
    }
    std::size_t outputLines = 0;
    for (const char c : output)
        outputLines += c == '\n' ? 1 : 0;
    require(outputLines == lines, "nicht eine Ausgabezeile je Eingabezeile");
    require(output == expected, "Ausgabe weicht von der zeilenweisen Konvertierung ab");
    return 0;
}
