#pragma once

#include <QString>

#include <string>

namespace zelvan {

// The tooltip of a grid column's heading: the field name as the database has it and what the
// field holds ("BankIBAN: die IBAN des Kontos, wie sie gespeichert wird"). Empty for a column
// beyond the working set's.
QString columnToolTip(int column, const std::string& heading);

} // namespace zelvan
