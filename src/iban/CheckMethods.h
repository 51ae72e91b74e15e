#pragma once

#include <optional>
#include <string_view>

#include "iban/AccountDigits.h"

namespace zelvan {

// What a check-digit method says of an account.
enum class CheckVerdict {
    Valid,
    Invalid,
    NoCheckDigit, // the method has no check digit, or exempts this account
};

// The Bundesbank check-digit methods that the rules need variant by variant, and those where
// the check-digit library departs from the Bundesbank's text. Each variant answers on its own,
// since rules 0005 and 0020 decide on which variant held.
namespace checkmethod {

// Method 06: weights 2,3,4,5,6,7,2,3,4 on d9..d1, check digit d10.
bool method06(const AccountDigits& account);

// Method 13, first step: 00-sum over d2..d7, check digit d8.
bool method13Standard(const AccountDigits& account);
// Method 13, second step, only when d1 = d2 = 0: the first step on the account shifted left by two.
bool method13Shifted(const AccountDigits& account);
bool method13(const AccountDigits& account);

// Method 63 needs d1 = 0. Standard variant: 00-sum over d2..d7, check digit d8.
bool method63Standard(const AccountDigits& account);
// Method 63 with the sub-account omitted (d2 = d3 = 0): 00-sum over d4..d9, check digit d10.
bool method63SubAccountOmitted(const AccountDigits& account);
bool method63(const AccountDigits& account);

// Method 76: d1 is the account type (1, 2, 3, 5 invalid); weights 7..2 on d2..d7, remainder
// modulo 11 is the check digit d8.
bool method76Standard(const AccountDigits& account);
// Method 76 with the sub-account omitted, only when the standard variant fails and d1 = d2 = 0:
// d3 is the account type, weights 7..2 on d4..d9, check digit d10.
bool method76SubAccountOmitted(const AccountDigits& account);
bool method76(const AccountDigits& account);

// Method C7: method 63 in both variants, else method 06.
bool methodC7(const AccountDigits& account);

// The answer of the methods implemented here: a verdict, or none when the check-digit library
// decides, by `libraryMethod` (the method itself, or the one a method hands the account to).
struct MethodAnswer {
    std::optional<CheckVerdict> verdict;
    std::string_view libraryMethod = {};
};

// Methods 06, 09, 13, 16, 50, 63, 68, 76, 78, 81, B1, B6, C2, C7 and E4 are answered here, where
// the library departs from the Bundesbank's text or a rule needs the variants; every other method
// is left to the library.
MethodAnswer checkAccount(std::string_view method, const AccountDigits& account);
bool isOwnMethod(std::string_view method);

} // namespace checkmethod
} // namespace zelvan
