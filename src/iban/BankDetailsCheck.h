#pragma once

#include <string>
#include <string_view>

#include "bankdir/BankDirectory.h"
#include "core/WorkingSet.h"

namespace zelvan {

// The verdict on a typed IBAN or BIC: the value as it is to be stored (blanks removed, capitals),
// or the German reason why it cannot be one. An empty value is valid: a clerk may clear a wrong one.
struct TypedValueCheck {
    std::string value;
    std::string reason; // empty when valid

    bool valid() const { return reason.empty(); }
};

// A country of the IBAN registry, its length, capitals and digits only, and the check digits
// that ISO 7064 MOD 97-10 gives the rest.
TypedValueCheck checkIban(std::string_view text);

// 8 or 11 letters and digits: four letters, an ISO 3166 country code, two for the place and an
// optional branch of three.
TypedValueCheck checkBic(std::string_view text);

// Why a row's typed IBAN or BIC may not be written as `iban` and `bic`: the first of them that
// differs from what the record holds as loaded and fails its check. Empty when both may be
// written. Only a row with typed values is checked (the bank-code file is the authority on the
// BICs a conversion takes), and values as loaded never are, so an old invalid value does not
// block a save.
std::string refusedTypedBankDetails(std::string_view iban, std::string_view bic, const AccountRow& row);

// For a German IBAN whose BLZ the bank-code file lists with another BIC than `bic`: a note that
// says so; else empty. Many branch lines carry no BIC, so a difference is no reason to refuse.
std::string directoryBicNote(const BankDirectory& directory, std::string_view iban, std::string_view bic);

} // namespace zelvan
