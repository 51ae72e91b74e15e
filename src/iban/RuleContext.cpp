#include "iban/RuleContext.h"

#include "iban/Iban.h"

namespace zelvan {

RuleContext::RuleContext(AccountRow& row, const BankDirectory& directory, const BankEntry& entry, std::string blz)
    : m_row(row), m_directory(directory), m_entry(entry), m_blz(std::move(blz)), m_account(row[AccountColumn::Account])
{
}

void RuleContext::standardIban()
{
    // Cutting or padding a malformed account number would give the IBAN of another account.
    if (!isUsableAccountNumber(m_row[AccountColumn::Account]) || !isUsableAccountNumber(m_account)) {
        reject(HintNumber::InvalidAccountNumber);
        return;
    }
    if (hasWrongCheckDigit()) {
        reject(HintNumber::WrongCheckDigit);
        return;
    }
    IBANBildenInto(m_row[AccountColumn::Iban], m_blz, m_account);
}

bool RuleContext::hasWrongCheckDigit()
{
    if (m_checkDigits == nullptr || m_storedBank == nullptr)
        return false;
    if (m_skipCheckDigit) {
        m_checkDigitSkipped = true;
        return false;
    }
    // Both are usable here: standardIban() gave hint 9 otherwise.
    const std::string& storedText = m_row[AccountColumn::Account];
    const auto stored = AccountDigits::of(storedText);
    // Most rules leave the account as it is; only a replaced one needs reading again.
    if (!stored)
        return false;
    if (m_account != storedText && stored != AccountDigits::of(m_account)) {
        m_checkDigitSkipped = !m_accountCheckedByRule;
        return false;
    }
    if (m_storedVerdict)
        return *m_storedVerdict == CheckVerdict::Invalid;
    return m_checkDigits->verdict(m_storedBank->blz, *stored, m_storedBank->checkMethod) == CheckVerdict::Invalid;
}

bool RuleContext::storedAccountFails()
{
    // Without the option the rules still check; one checker serves every conversion.
    static const AccountCheckDigits kRulesChecker;
    const AccountCheckDigits& checker = m_checkDigits != nullptr ? *m_checkDigits : kRulesChecker;
    const BankEntry& bank = storedBank();
    m_storedVerdict = checker.verdict(bank.blz, m_row[AccountColumn::Account], bank.checkMethod);
    return *m_storedVerdict == CheckVerdict::Invalid;
}

void RuleContext::reject(HintNumber hint)
{
    m_row[AccountColumn::Iban].clear();
    // Into the row's own string: a million refused rows need no million allocations.
    m_row[AccountColumn::Hint].assign(ConversionHintText(hint));
    m_accountRejected = true;
}

void RuleContext::fixedIban(std::string_view iban)
{
    m_checkDigitSkipped = true;
    m_row[AccountColumn::Iban] = iban;
}

void RuleContext::overrideBic(std::string_view bic)
{
    m_row[AccountColumn::Bic] = bic;
}

void RuleContext::refuse(HintNumber hint)
{
    m_row[AccountColumn::Iban].clear();
    m_row[AccountColumn::Hint] = ConversionHint(hint, m_entry.ruleCode);
}

void RuleContext::caveat(HintNumber hint)
{
    if (!m_accountRejected)
        m_row[AccountColumn::Hint] = ConversionHint(hint, m_entry.ruleCode);
}

} // namespace zelvan
