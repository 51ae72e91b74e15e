#include "app/ClientDatabaseStore.h"

namespace zelvan {

// Until the database layer is wired in, the window shows an empty working set.
LoadResult ClientDatabaseStore::LoadWorkingSet(ProgramState&, WorkingSetArray& rows, const LoadRequest&,
                                               UserInterface& ui)
{
    rows.clear();
    ui.setStatusText("Bereit");
    LoadResult result;
    result.gridCaption = "Anzahl Datensätze: 0";
    return result;
}

std::vector<GridColumn> ClientDatabaseStore::BindGridColumns(int)
{
    return {};
}

void ClientDatabaseStore::SaveWorkingSet(ProgramState&, const WorkingSetArray&, ProtocolOption, UserInterface&) {}

void ClientDatabaseStore::CloseClientDatabase(ProgramState&, UserInterface&) {}

} // namespace zelvan
