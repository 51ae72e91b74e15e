#pragma once

#include <string>

#include "bankdir/BankDirectory.h"
#include "clientdb/SaveReport.h"
#include "clientdb/WorkingSetSaver.h"
#include "core/ProgramState.h"
#include "core/UserInterface.h"
#include "iban/AccountCheckDigits.h"

namespace zelvan {

// What one conversion of a database takes besides the database itself: the options of convert.
struct ConversionSettings {
    // "Daten mit vorhandener IBAN ausblenden".
    bool hideRowsWithIban = false;
    // "Bank Name überschreiben"; not offered for Galdo, where it has no effect.
    bool overwriteBankName = false;
    // "Kontonummern mit Prüfziffer prüfen": the checker to use, or none.
    const AccountCheckDigits* checkDigits = nullptr;
    ProtocolOption protocol = ProtocolOption::Off;
    // Where the reports go when the database path has no folder.
    std::string programFolder;
    // Put before the report files' names; empty for the fixed names.
    std::string reportPrefix{};
    // A dry run: the conversion and the save run on a temporary copy (DryRunCopy); the original
    // stays as it is, no backup is made, and the reports beside it get "Probelauf_" in front.
    bool dryRun = false;
};

// How the conversion of one database ended.
struct DatabaseConversion {
    // The database fitted its format, was opened and its rows read.
    bool loaded = false;
    // The save, when the rows were read.
    SaveOutcome saved;
    // Rows that got an IBAN from the conversion.
    int ibansFormed = 0;
    // The message that told why the database was not converted or not saved, on one line; empty
    // when the save was committed.
    std::string failure;
    // A remark for the database's line beside its result: a journal another program left was
    // played back before the conversion.
    std::string note;

    bool failed() const { return !loaded || !saved.committed; }
};

// The conversion of the database that `state` names (format, path, fixed-deduction flag), as the
// main window does it: check that it fits its format and may be written, open it and add the
// missing fields, read its rows, convert them, save them in one transaction with the reports, and
// close it. Messages go to `ui` as the window would show them; after the reading, the conversion
// and the save a progress step is reported. Files copied before their first change are noted in
// state.backups.
DatabaseConversion convertDatabase(ProgramState& state, const BankDirectory& directory,
                                   const ConversionSettings& settings, UserInterface& ui);

} // namespace zelvan
