#pragma once

#include <array>

#include "iban/ConversionHint.h"

namespace zelvan {

// Hint number -> what it means and what the clerk does about it, in the order of the hint table.
// The hint table refuses to compile while a hint has no row here.
inline constexpr std::array kHintAdvice{
    HintAdvice{HintNumber::AccountExcluded,
               "Die IBAN-Regel der Bank schließt dieses Konto von der Umrechnung aus, etwa ein Unterkonto oder "
               "ein bankinternes Konto. Die Nummer der Regel steht am Ende des Hinweises.",
               "Die IBAN beim Kunden erfragen (sie steht auf seinen Kontoauszügen) und von Hand eintragen."},
    HintAdvice{HintNumber::BlzBlocked,
               "Für diese Bankleitzahl, oder für den Kontenbereich, in dem das Konto liegt, darf keine IBAN "
               "berechnet werden. Meist hat die Bank die Konten auf neue Nummern umgestellt.",
               "Beim Kunden die neue Bankverbindung (IBAN und BIC) erfragen."},
    HintAdvice{HintNumber::BlzNotInDirectory,
               "Die Bankleitzahl steht nicht in der BLZ-Datei der Bundesbank: ein Tippfehler, Leerzeichen vor "
               "oder nach der BLZ, eine seit Langem aufgegebene Bankleitzahl oder eine veraltete BLZ-Datei.",
               "Die BLZ auf Tippfehler und Leerzeichen prüfen; stimmt sie, die aktuelle BLZ-Datei einsetzen oder "
               "die neue Bankverbindung erfragen."},
    HintAdvice{HintNumber::BlzWithoutIban,
               "Die Bank trägt in der BLZ-Datei die Regel 000100: Die IBAN ihrer Konten lässt sich nicht "
               "berechnen, nur die Bank selbst kennt sie.",
               "Die IBAN beim Kunden erfragen und von Hand eintragen."},
    HintAdvice{HintNumber::BlzNotEightDigits,
               "Die Bankleitzahl ist leer oder hat nicht genau 8 Zeichen; so lässt sich keine Bank finden.",
               "Die BLZ mit 8 Ziffern nachtragen oder berichtigen und die Zeile neu umrechnen."},
    HintAdvice{HintNumber::IbanNotPossible,
               "Die IBAN-Regel der Bank kann aus dieser Kontonummer keine sichere IBAN bilden, zum Beispiel weil "
               "die Nummer für die Regel zu kurz oder zu lang ist oder ein Unterkonto fehlt. Die Nummer der "
               "Regel steht am Ende des Hinweises.",
               "Die Kontonummer auf Tippfehler prüfen; sonst die IBAN beim Kunden erfragen und von Hand eintragen."},
    HintAdvice{HintNumber::BlockedAccountRange,
               "Das Konto liegt in einem Nummernbereich, den die Bank für die IBAN-Berechnung gesperrt hat. Die "
               "Nummer der Regel steht am Ende des Hinweises.",
               "Beim Kunden die neue Bankverbindung (IBAN und BIC) erfragen."},
    HintAdvice{HintNumber::EightDigitAccountsOnly,
               "Die IBAN-Regel der Bank rechnet nur Kontonummern mit genau 8 Ziffern (ohne führende Nullen) um; "
               "diese Nummer ist kürzer oder länger.",
               "Die Kontonummer prüfen (fehlt oder stört eine Ziffer?); sonst die IBAN beim Kunden erfragen."},
    HintAdvice{HintNumber::InvalidAccountNumber,
               "Die Kontonummer ist leer, besteht nur aus Nullen, hat mehr als 10 Ziffern oder enthält andere "
               "Zeichen als Ziffern und Leerzeichen.",
               "Die Kontonummer berichtigen und die Zeile neu umrechnen."},
    HintAdvice{HintNumber::WrongCheckDigit,
               "Die Kontonummer besteht die Prüfzifferrechnung ihrer Bank nicht, meist wegen eines Tippfehlers "
               "oder Zahlendrehers. Geprüft wird mit der Option „Kontonummern mit Prüfziffer prüfen“ und immer "
               "dort, wo die IBAN-Regel der Bank die Kontonummer selbst prüft.",
               "Die Kontonummer mit einem Beleg des Kunden vergleichen und berichtigen."},
    HintAdvice{HintNumber::UnknownRule,
               "Die BLZ-Datei nennt für diese Bank eine IBAN-Regel, die diese Programmversion noch nicht kennt: "
               "Die Datei ist neuer als das Programm.",
               "Eine neuere Programmversion einsetzen; bis dahin die IBAN beim Kunden erfragen."},
    HintAdvice{HintNumber::DeletedWithoutSuccessor,
               "Die Bundesbank hat die Bankleitzahl gelöscht, ohne eine Nachfolge-BLZ zu nennen; die Bank gibt "
               "es unter dieser Nummer nicht mehr.",
               "Beim Kunden die neue Bankverbindung (IBAN und BIC) erfragen."},
    HintAdvice{HintNumber::CheckDigitNotRecomputed,
               "Die IBAN ist gebildet. Die Regel der Bank hat die Kontonummer dabei umgestellt oder ohne ihre "
               "Prüfziffer nachzurechnen übernommen; ein Tippfehler in der Kontonummer bliebe so unbemerkt.",
               "Die IBAN bei Gelegenheit mit dem Kontoinhaber abgleichen, etwa mit einem Kontoauszug."},
    HintAdvice{HintNumber::BlzByAccountRange,
               "Die IBAN ist gebildet. Die Bank vergibt die Bankleitzahl der IBAN je nach Nummernbereich des "
               "Kontos; die IBAN enthält daher eine andere BLZ als die gespeicherte.",
               "Die IBAN bei Gelegenheit mit dem Kontoinhaber abgleichen."},
    HintAdvice{HintNumber::SuccessorBlzUsed,
               "Die gespeicherte Bankleitzahl ist gelöscht, meist nach einer Fusion. Umgerechnet wurde mit der "
               "Nachfolge-BLZ aus der BLZ-Datei; IBAN und BIC gehören zur Nachfolgebank, die gespeicherte BLZ "
               "bleibt stehen.",
               "Meist nichts; wer sichergehen will, gleicht die IBAN mit dem Kontoinhaber ab."},
    HintAdvice{HintNumber::BankHasOtherBic,
               "Nur bei Galdo: Den BIC hält der Bankdatensatz, den alle Mitarbeiter mit dieser BLZ teilen. "
               "Brauchen ihre Konten verschiedene BICs, behält die Bank den BIC der letzten Zeile; der Hinweis "
               "nennt den BIC, der zu diesem Konto gehört.",
               "Die IBAN stimmt; wo ein BIC verlangt wird, für diesen Mitarbeiter den BIC aus dem Hinweis nehmen."},
};

} // namespace zelvan
