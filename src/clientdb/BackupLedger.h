#pragma once

#include <set>
#include <string>
#include <vector>

#include "clientdb/DatabaseBackup.h"
#include "clientdb/DbError.h"

namespace zelvan {

class Database;

// Which database files have been copied in this program run (a window session, a convert run, a
// batch run): each file is copied once, before its first change, however often it is changed
// afterwards. A file counts as the same however its path is written.
class BackupLedger {
public:
    // Copies are on unless switched off (convert --ohne-sicherung).
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // Copies the file unless it has been copied in this run already or copies are off. A failed
    // copy is not noted: the next change tries again.
    BackupResult ensureBackup(const std::string& databasePath);
    bool backedUp(const std::string& databasePath) const;
    // The copies made in this run, in order.
    const std::vector<std::string>& copies() const { return m_copies; }

private:
    bool m_enabled = true;
    std::set<std::string> m_files;
    std::vector<std::string> m_copies;
};

// Called right before the first change of an open database: makes its copy unless it has one
// from this run. A database that can only be read cannot be changed and gets none. A failed copy
// is an error whose description says why; then the database must stay as it is.
DbError backupBeforeChange(BackupLedger& ledger, const Database& database);

} // namespace zelvan
