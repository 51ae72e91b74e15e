#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zelvan {

// The numbered hints a conversion writes into a row. Below 100: no IBAN was formed;
// 100 and above: a caveat that accompanies an IBAN.
enum class HintNumber : int {
    AccountExcluded = 1,
    BlzBlocked = 2,
    BlzNotInDirectory = 3,
    BlzWithoutIban = 4,
    BlzNotEightDigits = 5,
    IbanNotPossible = 6,
    BlockedAccountRange = 7,
    EightDigitAccountsOnly = 8,
    InvalidAccountNumber = 9,
    WrongCheckDigit = 10,
    UnknownRule = 11,
    DeletedWithoutSuccessor = 12,
    CheckDigitNotRecomputed = 101,
    BlzByAccountRange = 102,
    SuccessorBlzUsed = 103,
    BankHasOtherBic = 104,
};

// A hint number and its text as it stands in the table.
struct HintText {
    HintNumber number;
    std::string_view text;
};

// Every hint, ascending by number.
std::span<const HintText> conversionHints();

// The hint's text; texts that end in ": " get the detail appended: the rule code after
// "IBAN-Regel: ", the row's own BIC for hint 104.
std::string ConversionHint(HintNumber number, std::string_view detail = {});
// The hint's text as it stands in the table, without a rule code.
std::string_view ConversionHintText(HintNumber number);

// What a hint means and what the clerk does about it: the help page and the grid's tooltip.
struct HintAdvice {
    HintNumber number;
    std::string_view meaning; // a few sentences
    std::string_view advice;  // one line
};

// The advice of every hint, in the order of conversionHints().
std::span<const HintAdvice> hintAdvice();
// The one-line advice for a hint number; empty for a number that is no hint.
std::string_view hintAdviceLine(long long number);

} // namespace zelvan
