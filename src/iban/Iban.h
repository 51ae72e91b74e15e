#pragma once

#include <string>
#include <string_view>

namespace zelvan {

// The value of a digit string modulo 97, folded digit by digit (ISO 7064 MOD 97-10).
int Mod97(std::string_view vIban);

// A German IBAN: "DE", two check digits, the BLZ and the account number zero-filled to 10
// digits. Blanks are removed from both; a longer account number keeps its last 10 characters.
std::string IBANBilden(std::string_view blz, std::string_view account);
// The same, written into `iban` so that its memory is used again.
void IBANBildenInto(std::string& iban, std::string_view blz, std::string_view account);

// Ten "0" characters in front, the rightmost 10 characters kept.
std::string zeroFillTo10(std::string_view account);

// Whether an account number may stand in an IBAN: after removing blanks it is not empty,
// holds digits only, is not all zeros and has at most 10 digits behind its leading zeros.
bool isUsableAccountNumber(std::string_view account);

} // namespace zelvan
