#pragma once

#include <array>
#include <memory>
#include <string_view>

class AccountNumberCheck;

namespace zelvan {

// Checks an account number against the check-digit method of its bank (the two characters of
// the bank-code file), with the Bundesbank methods of libktoblzcheck. A method that the library
// does not know passes: only a method that really computes a wrong check digit fails.
class AccountCheckDigits {
public:
    AccountCheckDigits();
    ~AccountCheckDigits();
    AccountCheckDigits(const AccountCheckDigits&) = delete;
    AccountCheckDigits& operator=(const AccountCheckDigits&) = delete;

    // False only when `method` is known and the account's check digit is wrong. An account that
    // is not 1 to 10 digits (not all zeros) passes; it is zero-filled to 10 digits here. Some
    // methods also read the BLZ.
    bool passes(std::string_view blz, std::string_view account, std::string_view method) const;

    bool knowsMethod(std::string_view method) const;

private:
    static int slotOf(std::string_view method);

    std::unique_ptr<AccountNumberCheck> m_library;
    // Methods "00" to "E9"; true where the library can check them.
    std::array<bool, 15 * 10> m_known{};
};

} // namespace zelvan
