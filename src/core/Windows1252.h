#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// Decodes Windows-1252 bytes into UTF-8. The five bytes that the code page leaves undefined
// are passed through as the Latin-1 control characters of the same value.
std::string windows1252ToUtf8(std::string_view bytes);

// Encodes UTF-8 text as Windows-1252. A character the code page cannot hold, and every
// malformed UTF-8 sequence, becomes "?".
std::string utf8ToWindows1252(std::string_view text);

// What a text becomes in a Windows-1252 file, still as UTF-8.
struct Windows1252Text {
    std::string text;     // holds only characters that Windows-1252 has
    bool changed = false; // some character had to be written otherwise
};

// Writes every character that Windows-1252 lacks in its Latin form, each character on its own
// ("Ayşe" "Ayse", "Dvořák" "Dvorák", "Иванов" "Ivanov", a full-width "＝" "="), and "?" where there
// is none (an emoji, malformed UTF-8). Text that Windows-1252 holds as it stands is returned unchanged.
// Not for paths: a path written otherwise names a folder that does not exist.
Windows1252Text transliterateForWindows1252(std::string_view text);

} // namespace zelvan
