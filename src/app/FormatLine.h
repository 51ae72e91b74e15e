#pragma once

#include <string>
#include <string_view>

#include "bankdir/BankCodeFile.h"
#include "core/WorkingSet.h"

namespace zelvan {

inline constexpr std::string_view kNoDatabaseChosen =
    "Format und Dateiname noch nicht gewählt -> bitte klicken Sie auf 'Auswählen' und trefen Sie Ihre Auswahl";

// The line above the grid: "Format: Marlo  Datei: <path>" when the database exists, else the
// request to choose one.
std::string shownFormatLine(ClientFormat format, const std::string& path);

// Beside the format line, for a Galdo database that exists: the data set being worked on,
// "Festabzüge" or "Personaldaten"; "" otherwise.
std::string shownDataSet(ClientFormat format, bool fixedDeductions, const std::string& path);

} // namespace zelvan

namespace zelvan {

// The format line's tooltip: the bank-code file in use with its modification date and number of
// banks, or why none is in use.
std::string bankFileToolTip(const BankFileResult& file, int banks, const std::string& modified);

} // namespace zelvan
