#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clientdb/SaveReport.h"
#include "core/ProgramState.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"

namespace zelvan {

// What a save reads from the main window besides the working set.
struct SaveOptions {
    ProtocolOption protocol = ProtocolOption::Off;
    // "Bank Name überschreiben" checked.
    bool overwriteBankName = false;
    // Where the reports go when the database path has no folder.
    std::string programFolder;
    // Put before the report files' names (see ReportPlace::filePrefix); empty for the fixed names.
    std::string reportPrefix{};
    // The database the reports name and lie beside when it is not the current one (a dry run works
    // on a copy and reports beside the original); empty for the current one.
    std::string reportDatabasePath{};
    // The window's summary names the copies made since the last summary it showed, from this place
    // in the run's list on ("Sicherungskopie: PFAD"); unset, the summary names none (the command
    // line names them on standard error).
    std::optional<std::size_t> nameCopiesFrom{};
    // The save goes into a dry run's copy: the protocol says the database was not changed.
    bool dryRun = false;
};

// How a save ended; the summary message has been shown.
struct SaveOutcome {
    // The whole save was committed. When false nothing was written at all.
    bool committed = false;
    // Rows whose record could not be found or written (counted, not written); every row when
    // the save was not committed.
    int rowsNotSaved = 0;
    // Report files that could not be written.
    std::vector<std::string> unwrittenFiles;
    // The counts the summary names: rows of the working set, with hint, with error hint.
    SaveCounts counts{};
    // "Daten speichern" stays enabled while something is left unsaved.
    bool changesLeft() const { return !committed || rowsNotSaved > 0; }
};

// Writes the working set back into the current database (formats 1 to 3; a Galdo database is
// handed to SavePayrollWorkingSet). One save is one transaction: it is written whole or not at
// all. Rows are reported to `report` and the reports written with the protocol on; the summary
// message goes to `ui`.
// A row is written only into the record it was loaded from, and only while that record still
// holds the row's stored bank details; a row without key, with a key that several records
// share, or whose record another program has changed since, is named as not saved, and so is a
// row whose typed IBAN or BIC differs from the loaded one and is no valid IBAN or BIC. The cells
// are never changed; the stored details of the rows written are renewed after the commit.
// Records are addressed by their row id and sought by their key as stored; a row that writes
// several statements, or any row of a table with triggers, is written whole or not at all.
SaveOutcome SaveWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveOptions& options, SaveReport& report,
                           UserInterface& ui);

// The Galdo twin: writes BIC to the bank, IBAN and hint to the employee or fixed deduction.
SaveOutcome SavePayrollWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveOptions& options,
                                  SaveReport& report, UserInterface& ui);

} // namespace zelvan
