#include "core/CsvField.h"

#include <array>

namespace zelvan {

namespace {

// The characters that make a field need quotes.
constexpr auto kNeedsQuotes = [] {
    std::array<bool, 256> table{};
    for (const char c : std::string_view(";\"\r\n"))
        table[static_cast<unsigned char>(c)] = true;
    return table;
}();

bool needsQuotes(std::string_view field)
{
    // Without a branch per character: find_first_of asks memchr once for every character, which
    // a million output lines notice.
    bool any = false;
    for (const char c : field)
        any |= kNeedsQuotes[static_cast<unsigned char>(c)];
    return any;
}

// The first characters with which a spreadsheet reads a field as a formula.
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

} // namespace

void appendCsvField(std::string& line, std::string_view field)
{
    if (!needsQuotes(field)) {
        line += field;
        return;
    }
    line += '"';
    for (const char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

void appendCsvField(std::string& line, std::string_view field, CsvReader reader)
{
    if (reader == CsvReader::Spreadsheet && !field.empty() &&
        kFormulaStarts.find(field.front()) != std::string_view::npos) {
        appendCsvField(line, "'" + std::string(field));
        return;
    }
    appendCsvField(line, field);
}

} // namespace zelvan
