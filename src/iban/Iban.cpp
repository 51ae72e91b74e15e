#include "iban/Iban.h"

#include <cstdint>

namespace zelvan {

namespace {

constexpr std::size_t kAccountDigits = 10;
constexpr std::size_t kChunkDigits = 9;
constexpr std::uint64_t kChunkScale = 1'000'000'000;
// "DE" as digits (D = 13, E = 14) followed by the check digits still to be computed.
constexpr std::string_view kCountrySuffix = "131400";

// Continues a remainder modulo 97 over further digits, one at a time, so that no value
// exceeds 96 * 10 + 9.
int foldMod97(int remainder, std::string_view digits)
{
    // Nine digits at a time while they are digits: 96 * 10^9 + 999,999,999 fits 64 bits.
    while (digits.size() >= kChunkDigits) {
        std::uint64_t chunk = 0;
        std::size_t i = 0;
        for (; i < kChunkDigits && digits[i] >= '0' && digits[i] <= '9'; ++i)
            chunk = chunk * 10 + static_cast<std::uint64_t>(digits[i] - '0');
        if (i < kChunkDigits)
            break;
        remainder = static_cast<int>((static_cast<std::uint64_t>(remainder) * kChunkScale + chunk) % 97);
        digits.remove_prefix(kChunkDigits);
    }
    for (const char c : digits) {
        // Only digits are expected; anything else still folds into a remainder from 0 to 96.
        remainder = (remainder * 10 + (c - '0')) % 97;
        if (remainder < 0)
            remainder += 97;
    }
    return remainder;
}

} // namespace

int Mod97(std::string_view vIban) { return foldMod97(0, vIban); }

std::string zeroFillTo10(std::string_view account)
{
    if (account.size() >= kAccountDigits)
        return std::string(account.substr(account.size() - kAccountDigits));
    std::string filled(kAccountDigits - account.size(), '0');
    filled += account;
    return filled;
}

void IBANBildenInto(std::string& iban, std::string_view blz, std::string_view account)
{
    // "DE", two check digits, then the BLZ without blanks and the account number zero-filled.
    iban.assign("DE00");
    for (const char c : blz) {
        if (c != ' ')
            iban += c;
    }
    // The rightmost ten characters of the account number without its blanks, zero-filled.
    char tail[kAccountDigits];
    std::size_t filled = 0;
    for (auto it = account.rbegin(); it != account.rend() && filled < kAccountDigits; ++it) {
        if (*it != ' ')
            tail[kAccountDigits - 1 - filled++] = *it;
    }
    iban.append(kAccountDigits - filled, '0');
    iban.append(tail + (kAccountDigits - filled), filled);

    const std::string_view bban = std::string_view(iban).substr(4);
    const int check = 98 - foldMod97(foldMod97(0, bban), kCountrySuffix);
    iban[2] = static_cast<char>('0' + check / 10);
    iban[3] = static_cast<char>('0' + check % 10);
}

std::string IBANBilden(std::string_view blz, std::string_view account)
{
    std::string iban;
    IBANBildenInto(iban, blz, account);
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
