#pragma once

#include <cstddef>
#include <string_view>

#include "core/WorkingSet.h"

namespace zelvan {

// How a saved row's hint counts: none, a caveat that went with an IBAN ("Konvertierhinweis",
// number 100 or more) or an error ("Fehlerhinweis", any other hint).
enum class HintClass { None, Conversion, Error };

// The number a hint text starts with, read as a decimal number reader does: leading blanks
// skipped, an optional sign, digits up to the first other character; 0 without a number.
long long hintNumberOf(std::string_view hint);

HintClass classifyHint(std::string_view hint);

// How many rows carry an error hint and how many a conversion hint, counted as the save counts them.
struct HintCounts {
    std::size_t errors = 0;
    std::size_t conversions = 0;

    bool operator==(const HintCounts&) const = default;
};

HintCounts countHints(const WorkingSetArray& rows);

} // namespace zelvan
