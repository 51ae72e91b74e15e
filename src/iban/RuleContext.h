#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "bankdir/BankDirectory.h"
#include "core/WorkingSet.h"
#include "iban/AccountCheckDigits.h"
#include "iban/ConversionHint.h"

namespace zelvan {

// What one rule sees of the row it converts, and the outcomes it may end in. The stored BLZ
// and account number are never changed; substitutions change only the working values.
class RuleContext {
public:
    RuleContext(AccountRow& row, const BankDirectory& directory, const BankEntry& entry, std::string blz);

    // Working values.
    const std::string& blz() const { return m_blz; }
    const std::string& account() const { return m_account; }
    const std::string& ruleCode() const { return m_entry.ruleCode; }
    const std::string& checkMethod() const { return m_entry.checkMethod; }
    const BankEntry& entry() const { return m_entry; }
    const BankDirectory& directory() const { return m_directory; }

    void substituteBlz(std::string blz) { m_blz = std::move(blz); }
    void substituteAccount(std::string account) { m_account = std::move(account); }
    // A form of the stored account (zeros appended) that the rule's own check accepted.
    void substituteCheckedAccount(std::string account)
    {
        m_account = std::move(account);
        m_accountCheckedByRule = true;
    }

    // With a checker, every standard IBAN of an account as stored first needs a right check
    // digit by the method of the bank it is stored with (not its successor's); an account that a
    // rule replaced is the rule's business.
    void checkAccountsWith(const AccountCheckDigits* checker, const BankEntry& storedBank)
    {
        m_checkDigits = checker;
        m_storedBank = &storedBank;
    }
    // The rule knows that this account carries no check digit.
    void skipCheckDigit() { m_skipCheckDigit = true; }
    // A rule's own check, with or without the option: whether the account as stored is wrong by
    // the method of the bank it is stored with.
    bool storedAccountFails();
    // Whether the option passed over the account as stored because the rule replaced, rotated or
    // fixed it, or knows it has no check digit.
    bool checkDigitSkipped() const { return m_checkDigitSkipped; }

    // Outcomes.
    // IBAN from the working BLZ and account number. An account number, stored or working,
    // that cannot stand in an IBAN gives no IBAN and hint 9, which later caveats do not replace;
    // so does hint 10 for a wrong check digit.
    void standardIban();
    void fixedIban(std::string_view iban);
    void overrideBic(std::string_view bic);
    // Hint 1, 2, 4, 6, 7 or 8 with the rule code where its text asks for it; no IBAN.
    void refuse(HintNumber hint);
    // Hint 10: the rule's own check found the account as stored wrong; no IBAN.
    void rejectWrongCheckDigit() { reject(HintNumber::WrongCheckDigit); }
    // Hint 101 or 102; the IBAN is written by standardIban() before or after it.
    void caveat(HintNumber hint);

    bool accountRejected() const { return m_accountRejected; }

private:
    bool hasWrongCheckDigit();
    const BankEntry& storedBank() const { return m_storedBank != nullptr ? *m_storedBank : m_entry; }
    void reject(HintNumber hint);

    AccountRow& m_row;
    const BankDirectory& m_directory;
    const BankEntry& m_entry;
    std::string m_blz;
    std::string m_account;
    bool m_accountRejected = false;
    const AccountCheckDigits* m_checkDigits = nullptr;
    const BankEntry* m_storedBank = nullptr;
    bool m_skipCheckDigit = false;
    bool m_accountCheckedByRule = false;
    bool m_checkDigitSkipped = false;
    // The verdict on the account as stored, once a rule's own check has asked for it.
    std::optional<CheckVerdict> m_storedVerdict;
};

} // namespace zelvan
