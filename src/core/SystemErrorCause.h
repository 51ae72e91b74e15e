#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// The German words for an operating-system error number ("Der Datenträger ist voll"); empty for
// 0 and for a number the program has no words for.
std::string_view systemErrorWords(int errorNumber);

// The cause as every message names it: the words with the number in brackets ("Der Datenträger
// ist voll (Fehler 28)"); a number without words is still named ("Systemfehler (Fehler 71)").
std::string systemErrorCause(int errorNumber);

} // namespace zelvan
