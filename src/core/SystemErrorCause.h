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

// The cause as it stands in brackets inside a line ("Ordner nicht lesbar: /a (keine Berechtigung)"):
// the words starting in lower case unless they start with a noun, without the number; a number
// without words as "Systemfehler 71".
std::string systemErrorCauseInLine(int errorNumber);

} // namespace zelvan
