#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace zelvan {

// An account number and the account number that replaces it.
struct AccountSubstitution {
    std::string_view account;
    std::string_view replacement;
};

// A BLZ and account number pair and the account number that replaces it.
struct PairSubstitution {
    std::string_view blz;
    std::string_view account;
    std::string_view replacement;
};

// An account number and the complete IBAN that stands for it.
struct FixedIbanEntry {
    std::string_view account;
    std::string_view iban;
};

// The constant tables of rules 0051 to 0056, in the order the rules list them.
std::span<const AccountSubstitution> rule0051Accounts();
std::span<const PairSubstitution> rule0052Pairs();
std::span<const PairSubstitution> rule0053Accounts();
std::span<const AccountSubstitution> rule0054Accounts();
// How many rows at the front of rule0054Accounts() come from the prefix pattern.
std::size_t rule0054PatternRowCount();
std::span<const std::string_view> rule0056Blzs();
std::span<const FixedIbanEntry> rule0056FixedIbans();

} // namespace zelvan
