#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace zelvan::fuzz {

// Stops the run with a message when an invariant does not hold; libFuzzer then keeps the input.
inline void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "Invariante verletzt: %s\n", what);
        std::abort();
    }
}

inline bool isDigits(std::string_view text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A German IBAN as the program forms it: 22 characters, "DE", digits, and check digits that
// make the ISO 7064 remainder 1. Computed here on its own, not with the program's Mod97.
inline bool isValidGermanIban(std::string_view iban)
{
    if (iban.size() != 22 || iban.substr(0, 2) != "DE" || !isDigits(iban.substr(2)))
        return false;
    int remainder = 0;
    const auto fold = [&remainder](std::string_view digits) {
        for (const char c : digits)
            remainder = (remainder * 10 + (c - '0')) % 97;
    };
    fold(iban.substr(4));
    fold("1314");
    fold(iban.substr(2, 2));
    return remainder == 1;
}

} // namespace zelvan::fuzz
