#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace zelvan {

// An account number as the check methods and the rules read it: blanks removed, zero-filled to
// ten digits d1..d10, and the number of its significant digits (its length behind leading zeros).
class AccountDigits {
public:
    static constexpr int kLength = 10;

    // Nothing for an account that cannot stand in an IBAN: empty, all zeros, a character other
    // than a digit or blank, or more than ten significant digits.
    static std::optional<AccountDigits> of(std::string_view account);

    // The digit at the 1-based position, d1 leftmost.
    int operator[](int position) const { return m_digits[static_cast<std::size_t>(position - 1)] - '0'; }
    int significant() const { return m_significant; }
    // The ten digits as text, as they stand in an IBAN.
    std::string_view text() const { return {m_digits.data(), m_digits.size()}; }
    // The significant digits only, as the account is written without leading zeros.
    std::string_view significantText() const
    {
        return text().substr(static_cast<std::size_t>(kLength - m_significant));
    }

    // "00" appended behind the significant digits (d3..d10 followed by "00"); only for accounts
    // of at most eight digits.
    AccountDigits withZerosAppended() const;

    bool operator==(const AccountDigits&) const = default;

private:
    std::array<char, kLength> m_digits{};
    int m_significant = 0;
};

} // namespace zelvan
