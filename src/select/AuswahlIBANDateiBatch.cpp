#include "select/AuswahlIBANDatei.h"

#include <QPushButton>

#include "batch/FolderConversion.h"
#include "core/ProgramState.h"
#include "select/BatchDialogs.h"
#include "select/BatchProgressDialog.h"
#include "select/FoundDatabasesModel.h"

namespace zelvan {

namespace {

// Before the main window has read a usable bank-code file.
constexpr const char* kNoBankFile = "Der BLZ-Bestand der Bundesbank ist noch nicht eingelesen.";

} // namespace

void AuswahlIBANDatei::enableConvertAll()
{
    m_command[AlleKonvertieren]->setEnabled(m_batch.directory && !m_search && !m_batchRunning &&
                                            m_found->rowCount() > 0 && !m_searchedFolder.empty());
}

void AuswahlIBANDatei::convertAll()
{
    if (!m_batch.directory || m_search || m_batchRunning || m_found->rowCount() == 0 || m_searchedFolder.empty())
        return;
    // Without a usable bank-code file every row would only get hint 3: say why instead.
    if (!m_batch.bankFileError.empty() || m_batch.directory->Count() == 0) {
        m_ui.showMessage({m_batch.bankFileError.empty() ? std::string(kNoBankFile) : m_batch.bankFileError,
                          std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
        return;
    }
    const BatchStartInfo info{static_cast<std::size_t>(m_found->rowCount()), m_searchedFormat, m_searchedFolder,
                              m_batch.bankFile};
    const auto dryRun = m_batchDialogs->confirmStart(this, info);
    if (!dryRun)
        return;

    BatchOptions options;
    options.format = m_searchedFormat;
    options.folder = m_searchedFolder;
    options.scope = m_searchedVolume ? SearchScope::Drive : SearchScope::Folder;
    options.settings = m_batch.settings;
    options.settings.dryRun = *dryRun;
    options.sessionBackups = m_batch.backups;

    m_batchRunning = true;
    enableConvertAll();
    BatchSummary summary;
    {
        BatchProgressDialog progress(m_ui, this);
        progress.showNow();
        const BusyPointer busy(m_ui);
        summary = convertFolder(options, *m_batch.directory, progress);
    }
    m_batchRunning = false;
    m_lastBatch = std::make_unique<BatchSummary>(summary);
    enableConvertAll();
    // The databases found before may be gone: then there is nothing to sum up.
    if (summary.lines.empty()) {
        m_ui.showMessage({noDatabaseFoundText(options), std::string(kApplicationTitle), MessageButtons::Ok,
                          MessageIcon::Exclamation, 0});
        return;
    }
    m_batchDialogs->showSummary(this, summary, *dryRun);
}

} // namespace zelvan
