#pragma once

#include <string>
#include <vector>

#include "clientdb/SaveReport.h"
#include "core/ProgramState.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"

namespace zelvan {

// How one grid column is shown: heading, whether it takes input, and its maximum input length.
struct GridColumn {
    std::string heading;
    bool editable = false;
    int maxLength = 0; // 0: no limit
};

// The check-box values that loading reads.
struct LoadRequest {
    int hideRowsWithIban = 0; // "Daten mit vorhandener IBAN ausblenden"
    int freeManualInput = 0;  // "IBAN / BIC für manuelle Eingaben freigeben"
};

// What a save reads besides the rows.
struct SaveRequest {
    ProtocolOption protocol = ProtocolOption::Off;
    bool overwriteBankName = false; // "Bank Name überschreiben", checked and available
};

// What the main window shows after a load.
struct LoadResult {
    std::size_t columnCount = 0;
    std::string gridCaption; // "Anzahl Datensätze: " and the count
    std::vector<GridColumn> columns;
    bool convertEnabled = true; // a database is loaded
    bool bankNameOptionAvailable = true;
    bool hideIbanOptionAvailable = true;
    // Format and path changed while opening (a linked database): the format line is shown anew.
    bool redirected = false;
};

// A copy of the current database that can be put back, as the list of copies names it.
struct BackupCopyEntry {
    std::string path;
    std::string time;    // when it was made, as the list shows it
    long long rows = -1; // rows of the format's table; -1 when unknown
    std::string check;   // what its check found ("ok", "Prüfsumme falsch", ...)
};

// The client database behind the main window: load, column binding, save and close. The
// windows call nothing else of the database layer.
class WorkingSetStore {
  public:
    virtual ~WorkingSetStore() = default;
    virtual LoadResult LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, const LoadRequest& request,
                                      UserInterface& ui) = 0;
    virtual std::vector<GridColumn> BindGridColumns(int freeManualInput) = 0;
    // Writes the rows back and shows the summary. True when everything was saved; otherwise
    // the changes are still unsaved. The cells stay as they are (nothing typed is lost); only
    // the rows' stored bank details follow what was written.
    virtual bool SaveWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveRequest& request,
                                UserInterface& ui) = 0;
    virtual void CloseClientDatabase(ProgramState& state, UserInterface& ui) = 0;
    // The copies of the current database, newest first; `error` says why they cannot be listed.
    virtual std::vector<BackupCopyEntry> ListBackupCopies(const ProgramState&, std::string&) { return {}; }
    // Puts the copy back (the database's present state is copied first) and says how that went.
    // True when it was put back; the database must be read again either way.
    virtual bool RestoreBackupCopy(ProgramState&, const std::string&, UserInterface&) { return false; }
};

} // namespace zelvan
