#include "app/ColumnDescriptions.h"

#include <array>

#include "core/WorkingSet.h"

namespace zelvan {

namespace {

// What each grid column holds, by its place in the working set; every format loads its fields
// in this order, under its own names.
constexpr std::array<const char*, kAccountColumnCount> kDescriptions{
    "die Nummer des Personenkontos oder Mitarbeiters, unter der der Datensatz gespeichert ist",
    "der Suchname des Kunden, Lieferanten oder Mitarbeiters",
    "die Bankleitzahl (BLZ) der Bank, wie sie gespeichert ist",
    "die Kontonummer bei dieser Bank, wie sie gespeichert ist",
    "der BIC der Bank, wie er gespeichert wird",
    "die IBAN des Kontos, wie sie gespeichert wird",
    "der Hinweis der Umwandlung mit seiner Nummer; leer, wenn es keinen gibt",
    "die Kurzbezeichnung der Bank",
    "die Nummer des Hinweises: unter 100 ein Fehler, ab 100 ein Konvertierhinweis",
    "die Zeile des Festabzugs beim Mitarbeiter",
};

} // namespace

QString columnToolTip(int column, const std::string& heading)
{
    if (column < 0 || static_cast<std::size_t>(column) >= kDescriptions.size())
        return {};
    return QString::fromStdString(heading) + QStringLiteral(": ") +
           QString::fromUtf8(kDescriptions[static_cast<std::size_t>(column)]);
}

} // namespace zelvan
