#include "iban/AccountDigits.h"

#include <algorithm>
#include <cassert>

namespace zelvan {

std::optional<AccountDigits> AccountDigits::of(std::string_view account)
{
    AccountDigits result;
    result.m_digits.fill('0');
    int significant = 0;
    for (const char c : account) {
        if (c == ' ')
            continue;
        if (c < '0' || c > '9')
            return std::nullopt;
        if (significant == 0 && c == '0')
            continue;
        if (significant == kLength)
            return std::nullopt;
        // Shift left and put the new digit at d10.
        std::rotate(result.m_digits.begin(), result.m_digits.begin() + 1, result.m_digits.end());
        result.m_digits.back() = c;
        ++significant;
    }
    if (significant == 0)
        return std::nullopt;
    result.m_significant = significant;
    return result;
}

AccountDigits AccountDigits::withZerosAppended() const
{
    assert(m_significant <= kLength - 2);
    AccountDigits result = *this;
    std::rotate(result.m_digits.begin(), result.m_digits.begin() + 2, result.m_digits.end());
    result.m_digits[kLength - 2] = '0';
    result.m_digits[kLength - 1] = '0';
    result.m_significant = m_significant + 2;
    return result;
}

} // namespace zelvan
