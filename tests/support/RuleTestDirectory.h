#pragma once

#include <string>
#include <vector>

#include "bankdir/BankDirectory.h"
#include "core/WorkingSet.h"
#include "iban/AccountCheckDigits.h"

namespace zelvan::test {

// A bank for a rule test: BLZ, rule code, BIC, check-digit method and its deletion fields.
struct TestBank {
    std::string blz;
    std::string ruleCode;
    std::string bic = "TESTDEFFXXX";
    std::string checkMethod = "00";
    char changeCode = 'U';
    std::string successorBlz = "00000000";
    char deletion = '0';
};

// Builds a directory of the given banks (short name "Bank <BLZ>").
BankDirectory directoryOf(const std::vector<TestBank>& banks);

// What the conversion run left in a row.
struct ConvertedRow {
    std::string bic;
    std::string iban;
    std::string hint;
};

// Converts one row (format Marlo OP, no bank-name option, accounts checked only with a checker)
// and returns its BIC, IBAN and hint.
ConvertedRow convert(const BankDirectory& directory, const std::string& blz, const std::string& account,
                     const AccountCheckDigits* checkDigits = nullptr);

} // namespace zelvan::test
