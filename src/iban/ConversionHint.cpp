#include "iban/ConversionHint.h"

#include <array>

#include "iban/HintAdviceTable.h"

namespace zelvan {

namespace {

// Every hint with its text, as the user sees it in the grid and in the reports.
constexpr std::array kHints{
    HintText{HintNumber::AccountExcluded, "1-Konto ohne IBAN-Berechnung, IBAN-Regel: "},
    HintText{HintNumber::BlzBlocked, "2-BLZ ist für eine IBAN-Berechnung gesperrt. Bitte eine neue Konto-Nr erfragen."},
    HintText{HintNumber::BlzNotInDirectory, "3-BLZ ist nicht im Bundesbank-Bestand"},
    HintText{HintNumber::BlzWithoutIban, "4-BLZ ohne IBAN-Ermittlung"},
    HintText{HintNumber::BlzNotEightDigits, "5-BLZ ist nicht 8-stellig"},
    HintText{HintNumber::IbanNotPossible, "6-IBAN-Berechnung nicht möglich, IBAN-Regel: "},
    HintText{HintNumber::BlockedAccountRange, "7-IBAN-Berechnung nicht möglich, gesperrte Kontenkreise, IBAN-Regel: "},
    HintText{HintNumber::EightDigitAccountsOnly,
             "8-IBAN-Berechnung nur möglich für 8-stellige Kontonummern, IBAN-Regel: "},
    HintText{HintNumber::InvalidAccountNumber, "9-Kontonummer ist ungültig. Bitte die Kontonummer prüfen."},
    HintText{HintNumber::WrongCheckDigit, "10-Prüfziffer der Kontonummer ist falsch. Bitte die Kontonummer prüfen."},
    HintText{HintNumber::UnknownRule, "11-IBAN-Regel unbekannt (Programm-Update nötig), IBAN-Regel: "},
    HintText{HintNumber::DeletedWithoutSuccessor,
             "12-BLZ ist gelöscht, keine Nachfolge-BLZ. Bitte neue Bankverbindung erfragen."},
    HintText{HintNumber::CheckDigitNotRecomputed,
             "101-Umwandlung ohne Neuberechnung der Kontenprüfziffer. Evtl. prüfen beim Kontoinhaber"},
    HintText{HintNumber::BlzByAccountRange,
             "102-Unicredit-Konten mit BLZ-Umsetzung nach Kontokreisen. Evtl. prüfen beim Kontoinhaber"},
    HintText{HintNumber::SuccessorBlzUsed,
             "103-Die gespeicherte BLZ wurde gelöscht und durch eine Nachfolge-BLZ ersetzt"},
    HintText{HintNumber::BankHasOtherBic, "104-Die Bank des Mitarbeiters hat für dieses Konto einen anderen BIC: "},
};

// Every hint has its meaning and advice, in the same order: a new hint cannot ship without its help.
consteval bool everyHintHasAdvice()
{
    if (kHintAdvice.size() != kHints.size())
        return false;
    for (std::size_t i = 0; i < kHints.size(); ++i) {
        if (kHintAdvice[i].number != kHints[i].number || kHintAdvice[i].meaning.empty() ||
            kHintAdvice[i].advice.empty())
            return false;
    }
    return true;
}
static_assert(everyHintHasAdvice(), "every hint needs a row in kHintAdvice (iban/HintAdviceTable.h)");

// Texts ending so take a detail: a rule code or a BIC.
constexpr std::string_view kDetailSuffix = ": ";

} // namespace

std::span<const HintText> conversionHints()
{
    return kHints;
}

std::string_view ConversionHintText(HintNumber number)
{
    for (const auto& hint : kHints) {
        if (hint.number == number)
            return hint.text;
    }
    return {};
}

std::span<const HintAdvice> hintAdvice()
{
    return kHintAdvice;
}

std::string_view hintAdviceLine(long long number)
{
    for (const auto& advice : kHintAdvice) {
        if (static_cast<long long>(advice.number) == number)
            return advice.advice;
    }
    return {};
}

std::string ConversionHint(HintNumber number, std::string_view detail)
{
    const std::string_view table = ConversionHintText(number);
    std::string text(table);
    if (table.ends_with(kDetailSuffix))
        text += detail;
    return text;
}

} // namespace zelvan
