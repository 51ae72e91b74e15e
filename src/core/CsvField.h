#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// Appends one output field: as it stands, or in quotes with inner quotes doubled when it holds
// ";", a quote, CR or LF (RFC 4180), so that every output line splits back into its fields.
void appendCsvField(std::string& line, std::string_view field);

} // namespace zelvan
