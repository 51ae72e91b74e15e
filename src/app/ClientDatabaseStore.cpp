#include "app/ClientDatabaseStore.h"

#include <ctime>

#include "clientdb/BackupRestore.h"
#include "clientdb/ClientDatabase.h"
#include "clientdb/SaveReport.h"
#include "clientdb/WorkingSetLoader.h"
#include "clientdb/WorkingSetSaver.h"

namespace zelvan {

namespace {

std::vector<GridColumn> gridColumns(const std::vector<GridColumnSetup>& setups)
{
    std::vector<GridColumn> columns;
    columns.reserve(setups.size());
    for (const auto& setup : setups)
        columns.push_back(GridColumn{setup.heading, setup.editable, setup.editable ? setup.maxLength : 0});
    return columns;
}

} // namespace

LoadResult ClientDatabaseStore::LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, const LoadRequest& request,
                                               UserInterface& ui)
{
    const LoadOutcome outcome = zelvan::LoadWorkingSet(
        state, rows, m_recordset, LoadOptions{request.hideRowsWithIban, request.freeManualInput}, ui);
    LoadResult result;
    result.columnCount = outcome.columnCount;
    result.gridCaption = outcome.gridCaption;
    result.columns = gridColumns(outcome.columns);
    result.convertEnabled = outcome.convertEnabled;
    result.bankNameOptionAvailable = outcome.bankNameOptionAvailable;
    result.hideIbanOptionAvailable = outcome.hideIbanOptionAvailable;
    result.redirected = outcome.redirected;
    return result;
}

std::vector<GridColumn> ClientDatabaseStore::BindGridColumns(int freeManualInput)
{
    return gridColumns(zelvan::BindGridColumns(m_recordset, freeManualInput));
}

bool ClientDatabaseStore::SaveWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveRequest& request,
                                         UserInterface& ui)
{
    SaveReport report;
    SaveOptions options{request.protocol, request.overwriteBankName, m_programFolder};
    // The status line is overwritten at once; the summary box names the copy made before the change.
    options.nameCopiesFrom = m_copiesNamed;
    const SaveOutcome outcome = zelvan::SaveWorkingSet(state, rows, options, report, ui);
    if (outcome.committed)
        m_copiesNamed = state.backups.copies().size();
    return !outcome.changesLeft();
}

void ClientDatabaseStore::CloseClientDatabase(ProgramState& state, UserInterface& ui)
{
    zelvan::CloseClientDatabase(state, ui);
}

std::vector<BackupCopyEntry> ClientDatabaseStore::ListBackupCopies(const ProgramState& state, std::string& error)
{
    const BackupTarget target = backupTargetOf(state.databasePath, state.format);
    if (!target.error.empty()) {
        error = target.error;
        return {};
    }
    std::vector<BackupCopyEntry> entries;
    for (const auto& copy : listBackupCopies(target.path, target.format))
        entries.push_back({copy.path, copy.time, copy.records.value_or(-1), std::string(verdictWord(copy.verdict))});
    return entries;
}

bool ClientDatabaseStore::RestoreBackupCopy(ProgramState& state, const std::string& copyPath, UserInterface& ui)
{
    const BackupTarget target = backupTargetOf(state.databasePath, state.format);
    RestoreOutcome outcome;
    if (target.error.empty()) {
        // The window's own connection must not hold the file while it is replaced; the next load
        // opens it afresh.
        m_recordset.close();
        zelvan::CloseClientDatabase(state, ui);
        outcome = restoreBackupCopy(target, copyPath, std::time(nullptr));
    } else {
        outcome.message = target.error;
    }
    const bool done = outcome.status == RestoreStatus::Done;
    ui.showMessage({outcome.message, std::string(kApplicationTitle), MessageButtons::Ok,
                    done ? MessageIcon::Information : MessageIcon::Critical, 0});
    return done;
}

} // namespace zelvan
