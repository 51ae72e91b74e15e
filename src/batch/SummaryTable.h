#pragma once

#include <array>
#include <string>

#include "batch/FolderConversion.h"
#include "core/CsvField.h"

namespace zelvan {

inline constexpr std::size_t kSummaryColumnCount = 10;

// The headings of the summary's columns, in order.
const std::array<std::string, kSummaryColumnCount>& summaryHeadings();

// The fields of one summary line, in the order of the headings.
std::array<std::string, kSummaryColumnCount> summaryFields(const BatchLine& line);

// The summary as ";"-separated lines, the headings first, fields holding ";", a quote, CR or LF
// quoted as in RFC 4180, each line ended by `lineEnd`; for a spreadsheet no field starts a formula.
std::string summaryText(const BatchSummary& summary, std::string_view lineEnd, CsvReader reader);

} // namespace zelvan
