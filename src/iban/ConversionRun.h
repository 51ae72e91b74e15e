#pragma once

#include "bankdir/BankDirectory.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"
#include "iban/AccountCheckDigits.h"

namespace zelvan {

struct ConversionOptions {
    ClientFormat format = ClientFormat::MarloOp;
    // "Bank Name überschreiben" checked and available.
    bool overwriteBankName = false;
    // "Kontonummern mit Prüfziffer prüfen": accounts are checked before a standard IBAN.
    const AccountCheckDigits* checkDigits = nullptr;
};

// Fills BIC, IBAN, hint and (with the option) bank name of one row from its BLZ and account
// number. Every call starts from the stored values, so converting twice gives the same row. An
// IBAN and BIC typed for the row's present BLZ and account are kept (true is returned); typed
// for others, they give way to the computed ones.
bool convertRow(AccountRow& row, const BankDirectory& directory, const ConversionOptions& options);

// What the check-digit option makes of an account as stored, which the `pruefen` command reports.
enum class OptionCheck {
    ByMethod,      // the verdict of the stored bank's method
    SkippedByRule, // a rule replaces, rotates or fixes the account, or knows it has no check digit
    BankDeleted,   // the bank is deleted without successor: the row gets no IBAN at all
};
OptionCheck optionCheckOf(const BankDirectory& directory, std::string_view blz, std::string_view account,
                          const AccountCheckDigits& checkDigits);

// The conversion run over the whole working set, with status text and hourglass; the status
// line names the rows that kept their typed values, and so does the result.
std::size_t runConversion(WorkingSetArray& rows, const BankDirectory& directory, const ConversionOptions& options,
                          UserInterface& ui);

} // namespace zelvan
