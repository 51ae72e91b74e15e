#pragma once

#include <string_view>

namespace zelvan::test {

// ISO 13616 check of a German IBAN, computed here on its own rather than with the program's
// Mod97: 22 characters, "DE", digits, and the rearranged number (BBAN, "1314" for DE, the check
// digits) leaves 1 modulo 97.
inline bool hasValidIbanCheckDigits(std::string_view iban)
{
    if (iban.size() != 22 || iban.substr(0, 2) != "DE")
        return false;
    int remainder = 0;
    const auto fold = [&remainder](std::string_view digits) {
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return false;
            remainder = (remainder * 10 + (c - '0')) % 97;
        }
        return true;
    };
    return fold(iban.substr(4)) && fold("1314") && fold(iban.substr(2, 2)) && remainder == 1;
}

} // namespace zelvan::test
