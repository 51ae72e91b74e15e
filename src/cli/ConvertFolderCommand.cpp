#include "cli/ConvertFolderCommand.h"

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "batch/SummaryTable.h"
#include "cli/OutputCheck.h"
#include "search/DriveSearch.h"

namespace zelvan {

namespace {

// Prints one line on standard error for each database done: "[3/50] PFAD: Ergebnis".
class ProgressLines final : public UserInterface {
public:
    explicit ProgressLines(std::ostream& err) : m_err(err) {}

    void setStatusText(std::string_view) override {}
    void setBusy(bool) override {}
    MessageAnswer showMessage(const MessageRequest& request) override { return defaultAnswer(request); }
    void processEvents() override {}
    void showProgress(const ProgressReport& report) override
    {
        if (!report.itemDone)
            return;
        m_err << '[' << report.item << '/' << report.itemCount << "] " << report.itemName << ": " << report.step
              << '\n';
        m_err.flush();
    }

private:
    std::ostream& m_err;
};

} // namespace

int runConvertFolder(const BatchOptions& options, const BankDirectory& directory, CommandEnvironment& env)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(options.folder, ec)) {
        const bool exists = std::filesystem::exists(options.folder, ec);
        env.err << (exists ? "Der Pfad \"" : "Der Ordner \"") << options.folder
                << (exists ? "\" ist kein Ordner.\n" : "\" wurde nicht gefunden.\n");
        return kExitUsage;
    }

    ProgressLines ui(env.err);
    const auto summary = convertFolder(options, directory, ui);
    if (summary.lines.empty()) {
        env.err << noDatabaseFoundText(options) << '\n';
        return folderExitStatus(summary, true);
    }

    std::string text = summaryText(summary, "\n", CsvReader::Program);
    std::size_t databases = 0;
    for (std::size_t i = 0; i < summary.lines.size(); ++i) {
        const bool database = !summary.lines[i].unreadableFolder;
        databases += database && (i == 0 || summary.lines[i].file != summary.lines[i - 1].file) ? 1u : 0u;
    }
    text += searchCaption(databases, options.folder) + '\n';
    errno = 0;
    env.out << text;
    const int writeError = env.out ? 0 : errno;
    const bool complete = outputComplete(env.out, env.err, writeError);
    if (summary.folderLinksSkipped > 0)
        env.err << folderLinksLine(summary.folderLinksSkipped) << '\n';
    if (databases == 0)
        env.err << noDatabaseFoundText(options) << '\n';
    if (summary.summaryFileError.empty())
        env.err << "Sammelprotokoll: " << summary.summaryFile << '\n';
    else
        env.err << summary.summaryFileError << '\n';
    return folderExitStatus(summary, complete);
}

int folderExitStatus(const BatchSummary& summary, bool outputWritten)
{
    if (summary.lines.empty())
        return kExitDatabaseError;
    bool notWritten = !summary.summaryFileError.empty() || !outputWritten;
    bool rowsLeft = false;
    for (const auto& line : summary.lines) {
        if (line.failed && !line.reportNotWritten)
            return kExitDatabaseError;
        notWritten = notWritten || line.reportNotWritten;
        rowsLeft = rowsLeft || line.rowsNotSaved > 0;
    }
    if (notWritten)
        return kExitReportNotWritten;
    return rowsLeft ? kExitRowsNotSaved : kExitOk;
}

} // namespace zelvan
