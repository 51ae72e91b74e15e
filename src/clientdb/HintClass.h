#pragma once

#include <string_view>

namespace zelvan {

// How a saved row's hint counts: none, a caveat that went with an IBAN ("Konvertierhinweis",
// number 100 or more) or an error ("Fehlerhinweis", any other hint).
enum class HintClass { None, Conversion, Error };

// The number a hint text starts with, read as a decimal number reader does: leading blanks
// skipped, an optional sign, digits up to the first other character; 0 without a number.
long long hintNumberOf(std::string_view hint);

HintClass classifyHint(std::string_view hint);

} // namespace zelvan
