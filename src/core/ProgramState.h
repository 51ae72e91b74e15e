#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "clientdb/BackupLedger.h"
#include "clientdb/Database.h"
#include "core/WorkingSet.h"

namespace zelvan {

// Caption of the message boxes that have no caption of their own.
inline constexpr std::string_view kApplicationTitle = "Zelvan Konverter";

// The state shared by the windows, the command line and the database operations for as long
// as the program runs. One object, handed to whoever needs it.
struct ProgramState {
    // Persisted as AktuellesKonvertierformat.
    ClientFormat format = ClientFormat::None;
    // Persisted as AktuelleKonvertierDatei.
    std::string databasePath;
    // Persisted as AktuelleKonvertierTabelle; set by OpenClientDatabase.
    std::string tableName;
    // Galdo only: the fixed deductions (Festabzug) instead of the personnel data (Personal).
    bool fixedDeductions = false;
    // Every database is opened shared; kept for the settings' sake, never set.
    bool exclusiveOpen = false;
    // The open client database, or none.
    Database database;
    // The files copied before their first change in this program run.
    BackupLedger backups;
    // Fields the last open added to the database ("Personenkonten.BankIBAN"), so that a save
    // that fails afterwards does not call the database unchanged.
    std::vector<std::string> addedFields;
};

} // namespace zelvan
