#include "iban/Iban.h"

namespace zelvan {

namespace {

constexpr std::size_t kAccountDigits = 10;
// "DE" as digits (D = 13, E = 14) followed by the check digits still to be computed.
constexpr std::string_view kCountrySuffix = "131400";

std::string withoutBlanks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c != ' ')
            out += c;
    }
    return out;
}

} // namespace

int Mod97(std::string_view vIban)
{
    int remainder = 0;
    for (const char c : vIban) {
        // Only digits are expected; anything else still folds into a remainder from 0 to 96.
        remainder = (remainder * 10 + (c - '0')) % 97;
        if (remainder < 0)
            remainder += 97;
    }
    return remainder;
}

std::string zeroFillTo10(std::string_view account)
{
    if (account.size() >= kAccountDigits)
        return std::string(account.substr(account.size() - kAccountDigits));
    std::string filled(kAccountDigits - account.size(), '0');
    filled += account;
    return filled;
}

std::string IBANBilden(std::string_view blz, std::string_view account)
{
    const std::string bban = withoutBlanks(blz) + zeroFillTo10(withoutBlanks(account));
    std::string digits = bban;
    digits += kCountrySuffix;
    const int check = 98 - Mod97(digits);

    std::string iban = "DE";
    iban += static_cast<char>('0' + check / 10);
    iban += static_cast<char>('0' + check % 10);
    iban += bban;
    return iban;
}

bool isUsableAccountNumber(std::string_view account)
{
    std::size_t significant = 0;
    bool seenNonZero = false;
    for (const char c : account) {
        if (c == ' ')
            continue;
        if (c < '0' || c > '9')
            return false;
        if (c != '0')
            seenNonZero = true;
        if (seenNonZero)
            ++significant;
    }
    return seenNonZero && significant <= kAccountDigits;
}

} // namespace zelvan
