#pragma once

#include <string>
#include <string_view>

#include "core/WorkingSet.h"

namespace zelvan {

inline constexpr std::string_view kNoDatabaseChosen =
    "Format und Dateiname noch nicht gewählt -> bitte klicken Sie auf 'Auswählen' und trefen Sie Ihre Auswahl";

// The line above the grid: "Format: Marlo  Datei: <path>" when the database exists, else the
// request to choose one.
std::string shownFormatLine(ClientFormat format, const std::string& path);

} // namespace zelvan
