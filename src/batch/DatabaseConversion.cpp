#include "batch/DatabaseConversion.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "batch/DryRunCopy.h"
#include "batch/RealRunForecast.h"
#include "clientdb/ClientDatabase.h"
#include "clientdb/FormatCheck.h"
#include "clientdb/UntouchedRead.h"
#include "clientdb/WorkingSetLoader.h"
#include "core/SystemErrorCause.h"
#include "iban/ConversionRun.h"

namespace zelvan {

namespace {

constexpr const char* kInterruptedChange =
    "Eine unterbrochene Änderung eines anderen Programms liegt vor (Journal-Datei); bitte zuerst das Programm öffnen, "
    "das die Datenbank bearbeitet.";
constexpr const char* kInterruptedChangeRolledBack =
    "eine unterbrochene Änderung eines anderen Programms wurde zurückgenommen";

// Passes everything on and keeps the text of the last message shown: when the conversion stops,
// that message tells why.
class LastMessageKept final : public UserInterface {
public:
    explicit LastMessageKept(UserInterface& ui) : m_ui(ui) {}

    void setStatusText(std::string_view text) override { m_ui.setStatusText(text); }
    void setBusy(bool busy) override { m_ui.setBusy(busy); }
    MessageAnswer showMessage(const MessageRequest& request) override
    {
        m_last = request.text;
        return m_ui.showMessage(request);
    }
    void processEvents() override { m_ui.processEvents(); }
    void showProgress(const ProgressReport& report) override { m_ui.showProgress(report); }
    bool stopRequested() override { return m_ui.stopRequested(); }

    // The last message on one line: each run of line breaks becomes one blank.
    std::string lastMessage() const
    {
        std::string line;
        bool breaking = false;
        for (const char c : m_last) {
            if (c == '\r' || c == '\n') {
                breaking = true;
                continue;
            }
            if (breaking && !line.empty())
                line += ' ';
            breaking = false;
            line += c;
        }
        return line;
    }

private:
    UserInterface& m_ui;
    std::string m_last;
};

void showError(UserInterface& ui, std::string text)
{
    ui.showMessage({std::move(text), std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
}

// What the check of a database found besides its fitting.
struct Fit {
    // The database the conversion writes: a linked Tondra database leads to its Marlo database.
    std::string written;
    // A program stopped in the middle of a change: opening the database to write plays it back.
    bool interruptedChange = false;
};

// Whether the real run could open the file for writing; goes by the effective user, and also
// sees an immutable file and a read-only file system.
bool openableForWriting(const std::string& path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Before anything is added to the database: it opens, it may be written, and it has the tables
// of the format asked for. Otherwise the message is shown and nothing in the file has changed.
// A Tondra database whose Kunden table is linked is loaded from the Marlo database it names,
// so that one is checked the same way, as a Marlo database.
// In a dry run the file is only read, no file beside it changes, and a journal left by an
// interrupted change of another program stops it: that database cannot be foretold.
bool databaseFits(const std::string& path, ClientFormat format, bool fixedDeductions, bool dryRun, UserInterface& ui,
                  Fit& fit)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        const bool exists = std::filesystem::exists(path, ec);
        showError(ui, "Die Datenbank \"" + path + (exists ? "\" ist keine Datei." : "\" wurde nicht gefunden."));
        return false;
    }
    if (hasInterruptedChange(path)) {
        if (dryRun) {
            showError(ui, kInterruptedChange);
            return false;
        }
        fit.interruptedChange = true;
    }
    Database database;
    if (auto error = dryRun ? database.openUntouched(path) : database.open(path)) {
        showError(ui, "Fehler beim Öffnen der Haupt-Datenbank\r" + path + "\rNummer:" + std::to_string(error.number) +
                          "\r" + error.description);
        return false;
    }
    if (dryRun ? !openableForWriting(path) : database.isReadOnly()) {
        showError(ui, "Die Datenbank \"" + path +
                          "\" ist schreibgeschützt.\rSie wird nicht umgewandelt; nichts wurde "
                          "geändert.");
        return false;
    }
    if (auto error = checkFormatTables(database, format, fixedDeductions)) {
        showError(ui, error.description);
        return false;
    }
    fit.written = path;
    if (format != ClientFormat::Tondra)
        return true;
    const auto customers = database.tableDef("Kunden");
    if (!customers.ok() || !customers.value().isLinked())
        return true;
    return databaseFits(linkedDatabasePath(customers.value().connect, path), ClientFormat::MarloOp, false, dryRun, ui,
                        fit);
}

void reportStep(UserInterface& ui, const std::string& path, const char* step)
{
    ui.showProgress({0, 0, path, step, false});
}

int ibansIn(const WorkingSetArray& rows)
{
    int count = 0;
    for (const auto& row : rows)
        count += row[AccountColumn::Iban].empty() ? 0 : 1;
    return count;
}

// Reads, converts and saves the database `state` names. In a dry run that is a copy, and the
// reports name the original and lie beside it.
void convertFitting(ProgramState& state, const BankDirectory& directory, const ConversionSettings& settings,
                    const DryRunCopy* copy, LastMessageKept& ui, DatabaseConversion& result)
{
    const std::string path = copy ? copy->originalOf(state.databasePath) : state.databasePath;
    WorkingSetArray rows;
    Recordset recordset;
    const auto loaded = LoadWorkingSet(state, rows, recordset, {settings.hideRowsWithIban ? 1 : 0, 0}, ui);
    if (!loaded.succeeded) {
        result.failure = ui.lastMessage();
        CloseClientDatabase(state, ui);
        return;
    }
    result.loaded = true;
    reportStep(ui, path, "eingelesen");

    // The bank-name option is not offered for the payroll format.
    const bool bankName = settings.overwriteBankName && loaded.bankNameOptionAvailable;
    runConversion(rows, directory, {state.format, bankName, settings.checkDigits}, ui);
    result.ibansFormed = ibansIn(rows);
    reportStep(ui, path, "umgewandelt");

    // A linked Tondra database was loaded from its Marlo database, beside which the reports go: with
    // a prefix they name both, so that two Tondra files linked into one folder keep their reports apart.
    std::string prefix = settings.reportPrefix;
    const std::string loadedPath = copy ? copy->originalOf(state.databasePath) : state.databasePath;
    if (!prefix.empty() && loadedPath != path)
        prefix += std::filesystem::path(loadedPath).filename().string() + "_";

    SaveReport report;
    SaveOptions options{settings.protocol, bankName, settings.programFolder, prefix, {}};
    if (copy) {
        // A linked Tondra copy has led to the copy of its Marlo database: the reports go beside that
        // Marlo database, as in a real run.
        options.reportPrefix = kDryRunPrefix + prefix;
        options.reportDatabasePath = copy->originalOf(state.databasePath);
    }
    result.saved = SaveWorkingSet(state, rows, options, report, ui);
    if (!result.saved.committed)
        result.failure = ui.lastMessage();
    reportStep(ui, path, result.saved.committed ? "gespeichert" : "nicht gespeichert");
    CloseClientDatabase(state, ui);
}

} // namespace

DatabaseConversion convertDatabase(ProgramState& state, const BankDirectory& directory,
                                   const ConversionSettings& settings, UserInterface& outerUi)
{
    LastMessageKept ui(outerUi);
    DatabaseConversion result;
    Fit fit;
    if (!databaseFits(state.databasePath, state.format, state.fixedDeductions, settings.dryRun, ui, fit)) {
        result.failure = ui.lastMessage();
        return result;
    }
    if (!settings.dryRun) {
        convertFitting(state, directory, settings, nullptr, ui, result);
        if (fit.interruptedChange)
            result.note = kInterruptedChangeRolledBack;
        return result;
    }

    // What would stop the real run at its first change stops the dry run there, with the same reason.
    const bool copyFirst = state.backups.enabled() && !state.backups.backedUp(fit.written);
    const auto refused = foretellRealRun(fit.written, copyFirst);
    DryRunCopy copy;
    if (auto error = copy.make(state.databasePath, state.format); !error.empty()) {
        showError(ui, refused.empty() ? error : refused);
        result.failure = ui.lastMessage();
        return result;
    }
    // The copy is converted in a state of its own: no backup, and the caller's state names the
    // originals afterwards.
    ProgramState copyState;
    copyState.format = state.format;
    copyState.databasePath = copy.copyPath();
    copyState.fixedDeductions = state.fixedDeductions;
    copyState.backups.setEnabled(false);
    ConversionSettings copySettings = settings;
    if (!refused.empty())
        copySettings.protocol = ProtocolOption::Off; // the real run would write no report
    convertFitting(copyState, directory, copySettings, &copy, ui, result);
    state.format = copyState.format;
    state.databasePath = copy.originalOf(copyState.databasePath);
    state.tableName = copyState.tableName;
    if (!refused.empty()) {
        // The real run stops before adding the missing fields, or else before saving the rows read.
        result.loaded = result.loaded && copyState.addedFields.empty();
        const int rows = result.saved.counts.rows;
        result.saved = {};
        result.saved.rowsNotSaved = rows;
        result.saved.counts.rows = rows;
        showError(ui, refused);
        result.failure = ui.lastMessage();
        return result;
    }
    // Only the copy is written to: a full disk is the one of the temporary folder.
    if (result.failed() && result.failure.find(systemErrorWords(ENOSPC)) != std::string::npos) {
        showError(ui, DryRunCopy::tempFailure(ENOSPC));
        result.failure = ui.lastMessage();
    }
    return result;
}

} // namespace zelvan
