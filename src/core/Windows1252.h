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

} // namespace zelvan
