#pragma once

#include <string>

#include "app/WorkingSetStore.h"
#include "clientdb/Recordset.h"

namespace zelvan {

// The main window's store over the client-database layer. It keeps the record set of the last
// load, from which the grid columns are bound.
class ClientDatabaseStore final : public WorkingSetStore {
  public:
    explicit ClientDatabaseStore(std::string programFolder) : m_programFolder(std::move(programFolder)) {}

    LoadResult LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, const LoadRequest& request,
                              UserInterface& ui) override;
    std::vector<GridColumn> BindGridColumns(int freeManualInput) override;
    bool SaveWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveRequest& request,
                        UserInterface& ui) override;
    void CloseClientDatabase(ProgramState& state, UserInterface& ui) override;
    std::vector<BackupCopyEntry> ListBackupCopies(const ProgramState& state, std::string& error) override;
    bool RestoreBackupCopy(ProgramState& state, const std::string& copyPath, UserInterface& ui) override;

private:
    std::string m_programFolder;
    Recordset m_recordset;
    // The copies of this program run that a save summary has named already.
    std::size_t m_copiesNamed = 0;
};

} // namespace zelvan
