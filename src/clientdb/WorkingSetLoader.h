#pragma once

#include <string>
#include <vector>

#include "clientdb/Recordset.h"
#include "core/ProgramState.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"

namespace zelvan {

// The values of the main window's check boxes that loading reads.
struct LoadOptions {
    // "Daten mit vorhandener IBAN ausblenden" (check box 0); counts as checked only with 1.
    int hideRowsWithIban = 0;
    // "IBAN / BIC für manuelle Eingaben freigeben" (check box 1); frees the bank columns when > 0.
    int freeManualInput = 0;
};

// How one grid column is set up: heading, whether it takes input (a column that does not is
// locked) and, for one that does, its maximum input length.
struct GridColumnSetup {
    std::string heading;
    bool bankColumn = false;
    bool editable = false;
    int maxLength = 0;
};

// What the main window shows after a load.
struct LoadOutcome {
    // The database was opened and its rows read (none found counts as read).
    bool succeeded = false;
    // Columns of the working set (0 for an empty one).
    std::size_t columnCount = 0;
    // "Anzahl Datensätze: " and the row count.
    std::string gridCaption;
    // One entry per column when rows were found, else none.
    std::vector<GridColumnSetup> columns;
    bool saveEnabled = false;
    // "IBAN / BIC einsetzen": only with a database loaded (also one without rows).
    bool convertEnabled = false;
    // "Bank Name überschreiben" (check box 2) and "Daten mit vorhandener IBAN ausblenden"
    // (check box 0) are unavailable for Galdo.
    bool bankNameOptionAvailable = true;
    bool hideIbanOptionAvailable = true;
    // The current format and path changed (linked Tondra database): show the format line anew.
    bool redirected = false;
};

// The statement that selects the working set for the current format, table and option.
std::string workingSetStatement(const ProgramState& state, int hideRowsWithIban);

// Opens the current database afresh, selects its account rows into `rows` and keeps the
// record set they came from in `recordset`. Messages, status texts and the busy pointer go to
// `ui`; what the grid and buttons show is returned.
LoadOutcome LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, Recordset& recordset,
                           const LoadOptions& options, UserInterface& ui);

// Makes the record count exact: to the last record and back to the first.
void PopulateRecordset(Recordset& recordset);

// Headings, editable state and input lengths of the grid columns, from the record set's fields.
std::vector<GridColumnSetup> BindGridColumns(const Recordset& recordset, int freeManualInput);

} // namespace zelvan
