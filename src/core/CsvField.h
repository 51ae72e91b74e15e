#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// Appends one output field: as it stands, or in quotes with inner quotes doubled when it holds
// ";", a quote, CR or LF (RFC 4180), so that every output line splits back into its fields.
void appendCsvField(std::string& line, std::string_view field);

// Who reads a CSV file: a program (the standard output of the commands), or a person who opens it
// in a spreadsheet (the reports and the summary of a folder run).
enum class CsvReader { Program, Spreadsheet };

// Appends one field for that reader. For a spreadsheet, a field that begins with "=", "+", "-",
// "@", a tab or a CR gets a leading "'" first, so that it is never run as a formula; IBANs, BLZs,
// account numbers and counts never begin so.
void appendCsvField(std::string& line, std::string_view field, CsvReader reader);

} // namespace zelvan
