#pragma once

#include <string_view>

namespace zelvan {

// The UTF-8 byte-order mark: written at the start of the files spreadsheets open, skipped at the
// start of the commands' input.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The text without a byte-order mark at its start.
inline std::string_view withoutByteOrderMark(std::string_view text)
{
    return text.starts_with(kUtf8ByteOrderMark) ? text.substr(kUtf8ByteOrderMark.size()) : text;
}

} // namespace zelvan
