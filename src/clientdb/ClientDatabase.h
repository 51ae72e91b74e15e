#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "clientdb/ClientFormats.h"
#include "clientdb/Database.h"
#include "core/ProgramState.h"
#include "core/UserInterface.h"

namespace zelvan {

// How opening the current client database ended.
struct OpenOutcome {
    // The database was opened and its tables read without an error (schema-extension failures
    // do not count: they are ignored by design).
    bool succeeded = false;
    // A Tondra database linked to a Marlo one: format and path now name the Marlo database,
    // so the format line has to be shown anew.
    bool redirected = false;
    // Fields were missing and no copy of the file could be made first: the open stopped with its
    // message, nothing was added and no database is open.
    bool backupFailed = false;
    // Why the missing fields could not be added (a read-only file or folder, a lock held past the
    // waiting time, a full disk); a missing table is not such an error. None of them was added.
    DbError extensionError;
};

// Called after each field the schema extension adds, inside its transaction; an error it returns
// stops the extension as a failing field would. Empty outside tests.
using FieldAddedSeam = std::function<DbError()>;

// Opens the database at the current path, sets the current table name and adds the fields
// the conversion writes to the format's tables: all of them in one transaction under the write
// lock, or none. A Tondra database whose Kunden table is linked
// to a Marlo database leads to that Marlo database (format 1 from then on). On a failure the
// error is shown and no database stays open. Before the first field is added to a file, the file
// is copied (state.backups); without a copy nothing is added and the open fails.
OpenOutcome OpenClientDatabase(ProgramState& state, UserInterface& ui, const FieldAddedSeam& fieldAdded = {});

// The path of the database a linked table lies in: everything after the first "=" of its
// connect string. A relative path is taken from the folder of the database that holds the link.
std::string linkedDatabasePath(const std::string& connect, const std::string& linkingDatabase);

// Adds the field to the table when it is missing; returns why it could not be added.
DbError EnsureField(Database& database, std::string_view table, const FieldSpec& field);

// Closes the database if one is open; an error is shown.
void CloseClientDatabase(ProgramState& state, UserInterface& ui);

} // namespace zelvan
