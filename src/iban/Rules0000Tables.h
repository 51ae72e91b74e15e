#pragma once

#include <span>
#include <string_view>

namespace zelvan {

// An account number exactly as stored and the account number that replaces it.
struct AccountReplacement {
    std::string_view account;
    std::string_view replacement;
};

// A replacement of rule 0015; some hold only from version 01 on.
struct Rule0015Replacement {
    std::string_view account;
    std::string_view replacement;
    bool fromVersion01;
};

// A replacement of rule 0005: BLZ and zero-filled account number, the replacement of versions
// 02 and 03, and the one of version 01 where it differs (empty where it does not).
struct Rule0005Replacement {
    std::string_view blz;
    std::string_view account;
    std::string_view replacement;
    std::string_view replacementIn000501;
};

// How an account table is looked up.
enum class AccountKey {
    AsStored, // the account number exactly as stored
    ByNumber, // its digits, blanks and leading zeros left out
};

// A rule code of this group, the account table it looks the account number up in, and how.
struct AccountTable {
    std::string_view code;
    std::span<const AccountReplacement> rows;
    AccountKey key;
};

// The plain account tables (rules 0004, 0006, 0007, 0011, 0017, 0018, 0024).
std::span<const AccountTable> accountTables0000To0029();
std::span<const Rule0015Replacement> rule0015Table();
std::span<const Rule0005Replacement> rule0005Table();

} // namespace zelvan
