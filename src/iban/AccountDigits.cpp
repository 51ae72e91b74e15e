#include "iban/AccountDigits.h"

#include <algorithm>
#include <cassert>

namespace zelvan {

std::optional<AccountDigits> AccountDigits::of(std::string_view account)
{
    std::array<char, kLength> significant{};
    int count = 0;
    for (const char c : account) {
        if (c == ' ')
            continue;
        if (c < '0' || c > '9')
            return std::nullopt;
        if (count == 0 && c == '0')
            continue;
        if (count == kLength)
            return std::nullopt;
        significant[static_cast<std::size_t>(count++)] = c;
    }
    if (count == 0)
        return std::nullopt;
    AccountDigits result;
    const auto zeros = static_cast<std::size_t>(kLength - count);
    std::fill_n(result.m_digits.begin(), zeros, '0');
    std::copy_n(significant.begin(), count, result.m_digits.begin() + static_cast<std::ptrdiff_t>(zeros));
    result.m_significant = count;
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
