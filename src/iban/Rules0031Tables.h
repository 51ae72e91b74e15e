#pragma once

#include <span>
#include <string_view>

namespace zelvan {

// An account of one code of rules 0031 to 0035 that converts under another number and BLZ.
struct SpecialAccount {
    std::string_view code;
    std::string_view account;
    std::string_view replacement;
    std::string_view blz;
};

// Rules 0031 to 0035: the BLZ that a range key (0 to 999) stands for, empty when it has none.
std::string_view accountRangeBlz(int key);

// The special accounts of every code of rules 0031 to 0035.
std::span<const SpecialAccount> specialAccounts();

} // namespace zelvan
