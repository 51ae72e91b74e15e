#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "iban/CheckMethods.h"

class AccountNumberCheck;

namespace zelvan {

// Checks an account number against the check-digit method of its bank (the two characters of
// the bank-code file): by our own methods where the check-digit library departs from the
// Bundesbank's text, by libktoblzcheck for every other method. A method that neither knows has
// no check digit to be wrong.
class AccountCheckDigits {
public:
    AccountCheckDigits();
    ~AccountCheckDigits();
    AccountCheckDigits(const AccountCheckDigits&) = delete;
    AccountCheckDigits& operator=(const AccountCheckDigits&) = delete;

    // The account as the conversion reads it (blanks removed, zero-filled); one the conversion
    // calls invalid (empty, all zeros, a non-digit, more than ten digits) is Invalid. Some
    // methods also read the BLZ.
    CheckVerdict verdict(std::string_view blz, std::string_view account, std::string_view method) const;
    CheckVerdict verdict(std::string_view blz, const AccountDigits& account, std::string_view method) const;
    // False only when the verdict is Invalid.
    bool passes(std::string_view blz, std::string_view account, std::string_view method) const
    {
        return verdict(blz, account, method) != CheckVerdict::Invalid;
    }

    // Whether our methods or the library can check the method.
    bool knowsMethod(std::string_view method) const;

private:
    static int slotOf(std::string_view method);
    bool libraryKnows(std::string_view method) const;
    CheckVerdict libraryVerdict(std::string_view blz, const AccountDigits& account, std::string_view method) const;

    std::unique_ptr<AccountNumberCheck> m_library;
    // Methods "00" to "E9"; true where the library can check them.
    std::array<bool, 15 * 10> m_known{};
};

} // namespace zelvan
