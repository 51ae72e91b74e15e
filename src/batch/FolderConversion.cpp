#include "batch/FolderConversion.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

#include "batch/DryRunCopy.h"
#include "batch/SummaryTable.h"
#include "clientdb/ClientFormats.h"
#include "clientdb/TextFileWriter.h"
#include "core/LocalTime.h"
#include "core/PathRoutines.h"
#include "core/ProgramState.h"
#include "search/DriveSearch.h"
#include "search/InvoicingDatabase.h"

namespace zelvan {

namespace {

constexpr const char* kNotDone = "nicht bearbeitet: der Lauf wurde angehalten";
// The step shown before anything is done to a database.
constexpr const char* kBegun = "wird bearbeitet";

// One conversion of the run: a database, and for Galdo one of its passes.
struct WorkItem {
    const FoundDatabase* found;
    bool fixedDeductions = false;
    std::string pass;
};

// The user interface of one database within the run: its messages are answered with their
// default button and not shown (the summary line says why it failed), its progress steps are
// numbered within the run, and everything else goes on to the run's own user interface.
class ItemUserInterface final : public UserInterface {
public:
    ItemUserInterface(UserInterface& ui, std::size_t item, std::size_t count, std::string name)
        : m_ui(ui), m_item(item), m_count(count), m_name(std::move(name))
    {
    }

    void setStatusText(std::string_view text) override { m_ui.setStatusText(text); }
    void setBusy(bool busy) override { m_ui.setBusy(busy); }
    MessageAnswer showMessage(const MessageRequest& request) override { return defaultAnswer(request); }
    void processEvents() override { m_ui.processEvents(); }
    void showProgress(const ProgressReport& report) override
    {
        m_ui.showProgress({m_item, m_count, m_name, report.step, report.itemDone});
    }
    bool stopRequested() override { return m_ui.stopRequested(); }

private:
    UserInterface& m_ui;
    std::size_t m_item;
    std::size_t m_count;
    std::string m_name;
};

std::vector<WorkItem> workItems(const std::vector<FoundDatabase>& found, ClientFormat format)
{
    std::vector<WorkItem> items;
    for (const auto& database : found) {
        if (format != ClientFormat::Galdo) {
            items.push_back({&database, false, {}});
            continue;
        }
        items.push_back({&database, false, kPersonnelPass});
        items.push_back({&database, true, kDeductionsPass});
    }
    return items;
}

std::string itemName(const WorkItem& item)
{
    return item.pass.empty() ? item.found->path() : item.found->path() + " (" + item.pass + ")";
}

// The copies the ledger holds beyond the first `from`, joined.
std::string copiesSince(const BackupLedger& ledger, std::size_t from)
{
    std::string joined;
    for (std::size_t i = from; i < ledger.copies().size(); ++i) {
        if (!joined.empty())
            joined += ", ";
        joined += ledger.copies()[i];
    }
    return joined;
}

BatchLine lineOf(const WorkItem& item, const DatabaseConversion& done, bool dryRun)
{
    BatchLine line;
    line.client = item.found->client;
    line.file = item.found->path();
    line.pass = item.pass;
    line.ibansFormed = done.loaded ? done.ibansFormed : 0;
    if (done.loaded) {
        const auto& counts = done.saved.counts;
        line.rows = counts.rows;
        line.conversionHints = done.saved.committed ? counts.conversionHints() : 0;
        line.errorHints = done.saved.committed ? counts.errors : 0;
        line.rowsNotSaved = done.saved.rowsNotSaved;
    }
    line.failed = done.failed();
    line.result = !done.failure.empty() ? done.failure : dryRun ? kDryRunResult : kSaved;
    if (!done.note.empty())
        line.result += "; " + done.note;
    // Saved, yet a report is missing: the line does not say "gespeichert" alone.
    if (!line.failed && !done.saved.unwrittenFiles.empty()) {
        line.failed = true;
        line.reportNotWritten = true;
        for (const auto& path : done.saved.unwrittenFiles)
            line.result += "; die Datei \"" + path + "\" konnte nicht geschrieben werden";
    }
    return line;
}

// A summary name no file has yet, so that no run replaces the summary of another.
std::string freeSummaryPath(const BatchOptions& options, const std::string& started)
{
    const auto name = formatInfo(options.format).name;
    const std::string stem = WithBackslash(options.folder) + (options.settings.dryRun ? kDryRunPrefix : "") +
                             kSummaryFileStem + std::string(name) + "_" + started;
    std::error_code ec;
    std::string path = stem + ".csv";
    for (int n = 2; std::filesystem::exists(std::filesystem::symlink_status(path, ec)); ++n)
        path = stem + "_" + std::to_string(n) + ".csv";
    return path;
}

} // namespace

BatchSummary convertFolder(const BatchOptions& options, const BankDirectory& directory, UserInterface& ui)
{
    BatchSummary summary;
    // A run that takes minutes is still named after the moment it began.
    const auto started = options.started.empty() ? localTimeText(std::time(nullptr), kFileTimeStamp) : options.started;
    DriveSearch search(options.format, IsInvoicingDatabase, ui);
    search.run(options.folder, options.scope);
    summary.folderLinksSkipped = search.folderLinksSkipped();
    const auto items = workItems(search.FoundDatabases(), options.format);

    // One state for the whole run, so that each file is copied once however often it is saved.
    ProgramState state;
    const bool sessionEnabled = options.sessionBackups && options.sessionBackups->enabled();
    if (options.sessionBackups)
        state.backups = std::move(*options.sessionBackups);
    state.backups.setEnabled(options.backups);
    std::optional<std::string> galdoCopy; // the copy made in a Galdo database's first pass
    for (std::size_t index = 0; index < items.size(); ++index) {
        const auto& item = items[index];
        ItemUserInterface itemUi(ui, index + 1, items.size(), itemName(item));
        if (!summary.stopped) {
            // Shown before the stop is read: a stop asked for while this database is named leaves it untouched.
            itemUi.showProgress({0, 0, {}, kBegun, false});
            summary.stopped = ui.stopRequested();
        }
        if (summary.stopped) {
            BatchLine line{item.found->client, item.found->path(), item.pass, 0, 0, 0, 0, 0, {}, kNotDone, true, false};
            line.notReached = true;
            summary.lines.push_back(std::move(line));
            continue;
        }
        state.format = options.format;
        state.databasePath = item.found->path();
        state.fixedDeductions = item.fixedDeductions;
        state.tableName.clear();
        state.addedFields.clear();
        ConversionSettings settings = options.settings;
        settings.reportPrefix = item.found->fileName + "_" + (item.fixedDeductions ? "Festabzug_" : "");

        const auto copiesBefore = state.backups.copies().size();
        const auto done = convertDatabase(state, directory, settings, itemUi);
        auto line = lineOf(item, done, options.settings.dryRun);
        line.backupFile = copiesSince(state.backups, copiesBefore);
        if (item.fixedDeductions && line.backupFile.empty() && galdoCopy)
            line.backupFile = *galdoCopy;
        galdoCopy = options.format == ClientFormat::Galdo && !item.fixedDeductions
                        ? std::optional<std::string>(line.backupFile)
                        : std::nullopt;
        itemUi.showProgress({0, 0, {}, line.result, true});
        summary.lines.push_back(std::move(line));
    }

    for (const auto& folder : search.unreadableFolders()) {
        BatchLine line;
        line.file = folder.path;
        line.result = unreadableFolderResult(folder.errorNumber);
        line.failed = true;
        line.unreadableFolder = true;
        summary.lines.push_back(std::move(line));
    }

    if (options.sessionBackups) {
        state.backups.setEnabled(sessionEnabled);
        *options.sessionBackups = std::move(state.backups);
    }
    if (summary.lines.empty())
        return summary;
    summary.summaryFile = freeSummaryPath(options, started);
    // UTF-8, so that every path in it stays true.
    const auto written = WriteUtf8TextFile(summaryText(summary, "\r\n", CsvReader::Spreadsheet), summary.summaryFile);
    if (written.errorNumber != 0)
        summary.summaryFileError = written.description;
    return summary;
}

std::string noDatabaseFoundText(const BatchOptions& options)
{
    return "Keine Datenbank des Formats " + std::string(formatInfo(options.format).name) + " unter " + options.folder +
           " gefunden.";
}

} // namespace zelvan
