#pragma once

#include "app/WorkingSetStore.h"

namespace zelvan {

// The main window's store over the client-database layer.
class ClientDatabaseStore final : public WorkingSetStore {
public:
    LoadResult LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, const LoadRequest& request,
                              UserInterface& ui) override;
    std::vector<GridColumn> BindGridColumns(int freeManualInput) override;
    void SaveWorkingSet(ProgramState& state, const WorkingSetArray& rows, ProtocolOption protocol,
                        UserInterface& ui) override;
    void CloseClientDatabase(ProgramState& state, UserInterface& ui) override;
};

} // namespace zelvan
