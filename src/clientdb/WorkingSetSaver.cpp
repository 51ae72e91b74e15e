#include "clientdb/WorkingSetSaver.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

#include "clientdb/ClientFormats.h"
#include "clientdb/HintClass.h"

namespace zelvan {

namespace {

constexpr const char* kAccountCsvHeader = "OPKontoNr;Suchname;BLZ;KontoNr;BIC;IBAN;Hinweis";
constexpr const char* kPayrollCsvHeader = "PersonalNr;Suchname;BLZ;KontoNr;BIC;IBAN;Hinweis";
constexpr std::string_view kCrLf = "\r\n";
// The summary names this many unsaved rows; the rest only by their number.
constexpr std::size_t kListedUnsavedRows = 10;

// Errors that concern the whole database rather than one record: the save cannot go on.
constexpr std::array kDatabaseWideErrors{
    5,  // busy: locked by another program past the waiting time
    6,  // locked
    7,  // out of memory
    8,  // read-only
    10, // disk input/output
    11, // damaged
    13, // disk full
    14, // cannot open
    26, // not a database
};

bool isDatabaseWide(const DbError& error)
{
    return std::find(kDatabaseWideErrors.begin(), kDatabaseWideErrors.end(), error.number) !=
           kDatabaseWideErrors.end();
}

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::size_t characterCount(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

DbValue hintNumberValue(const std::string& hint)
{
    if (hint.empty())
        return DbValue{};
    return DbValue{static_cast<std::int64_t>(hintNumberOf(hint))};
}

// A row as it would have been written, for the report of a row that was not.
struct RowWrite {
    const AccountRow& row;
    const std::string& bic;
    const std::string& iban;
};

// An unsaved row as the summary names it.
struct UnsavedRow {
    std::string key;
    std::string reason;
};

// Counts and state of one save in progress.
class SaveRun {
public:
    SaveRun(ProgramState& state, const WorkingSetArray& rows, const SaveOptions& options, SaveReport& report,
            UserInterface& ui, const char* csvHeader)
        : m_state(state), m_options(options), m_report(report), m_ui(ui)
    {
        m_report.Start(csvHeader, m_options.protocol);
        m_counts.rows = static_cast<int>(rows.size());
    }

    bool protocolOn() const { return m_options.protocol != ProtocolOption::Off; }

    // A failure that ends the save; the first one is kept.
    void fail(DbError error)
    {
        if (!m_fatal)
            m_fatal = std::move(error);
    }
    bool failed() const { return m_fatal.has_value(); }

    // The result of one engine step for a row: a database-wide error ends the save, any other
    // leaves the row unsaved with the engine's description as the reason.
    bool stepDone(const DbError& error, const RowWrite& write, std::string_view reasonPrefix = {})
    {
        if (!error)
            return true;
        if (isDatabaseWide(error))
            fail(error);
        else
            rowNotSaved(write, std::string(reasonPrefix) + error.description);
        return false;
    }
    void rowNotSaved(const RowWrite& write, std::string reason)
    {
        ++m_notSaved;
        const auto& row = write.row;
        if (protocolOn())
            m_report.AddUnsaved(row[AccountColumn::Key], row[AccountColumn::Blz], row[AccountColumn::Account],
                                write.bic, write.iban, reason);
        if (m_unsaved.size() < kListedUnsavedRows)
            m_unsaved.push_back({row[AccountColumn::Key], std::move(reason)});
    }
    void missingAccount() { m_counts.missingAccounts = m_counts.missingAccounts.value_or(0) + 1; }

    void countAndReport(const AccountRow& row, const std::string& bic, const std::string& iban)
    {
        const auto& hint = row[AccountColumn::Hint];
        const auto hintClass = classifyHint(hint);
        if (hintClass != HintClass::None)
            ++m_counts.hinted;
        if (hintClass == HintClass::Error)
            ++m_counts.errors;
        if (protocolOn())
            m_report.Add(row[AccountColumn::Key], row[AccountColumn::SearchName], row[AccountColumn::Blz],
                         row[AccountColumn::Account], bic, iban, hint);
    }

    // Commits the save, or undoes all of it after a failure.
    void commit();
    // The reports and the summary message, after the hourglass has gone.
    SaveOutcome report(bool payroll);

private:
    std::string summary(bool payroll) const;
    // The folder the protocol was written to; empty when it was not.
    std::string writtenReportFolder() const;

    ProgramState& m_state;
    const SaveOptions& m_options;
    SaveReport& m_report;
    UserInterface& m_ui;
    SaveCounts m_counts;
    int m_notSaved = 0;
    std::vector<UnsavedRow> m_unsaved; // the first ones, for the summary
    std::optional<DbError> m_fatal;
    std::vector<std::string> m_unwritten;
};

std::string SaveRun::summary(bool payroll) const
{
    std::string text = "Insgesamt verarbeitete Datensätze: " + std::to_string(m_counts.rows);
    if (payroll && m_counts.missingAccounts.value_or(0) >= 1)
        text.append(kCrLf).append(kCrLf).append("Davon mit fehlender KontoNr: ").append(
            std::to_string(*m_counts.missingAccounts));
    if (m_counts.hinted >= 1)
        text.append(kCrLf).append(kCrLf).append("Davon mit Konvertierhinweis: ").append(
            std::to_string(m_counts.conversionHints()));
    if (m_counts.errors >= 1)
        text.append(kCrLf).append("Davon mit Fehlerhinweis: ").append(std::to_string(m_counts.errors));
    if (m_notSaved >= 1) {
        text.append(kCrLf).append("Davon nicht gespeichert: ").append(std::to_string(m_notSaved));
        for (const auto& unsaved : m_unsaved)
            text.append(kCrLf).append(unsaved.key).append(": ").append(unsaved.reason);
        const int more = m_notSaved - static_cast<int>(m_unsaved.size());
        if (more > 0)
            text.append(kCrLf).append("... und ").append(std::to_string(more)).append(" weitere");
    }
    for (const auto& path : m_unwritten)
        text.append(kCrLf).append("Die Datei \"").append(path).append("\" konnte nicht geschrieben werden.");
    if (const auto folder = writtenReportFolder(); !folder.empty())
        text.append(kCrLf).append(kCrLf).append("Protokoll und CSV-Dateien im Ordner: ").append(folder);
    return text;
}

std::string SaveRun::writtenReportFolder() const
{
    if (!protocolOn())
        return {};
    const auto folder = reportFolder(m_state.databasePath, m_options.programFolder);
    const bool protocolWritten =
        std::find(m_unwritten.begin(), m_unwritten.end(), folder + kProtocolFileName) == m_unwritten.end();
    return protocolWritten ? folder : std::string();
}

void SaveRun::commit()
{
    if (!m_fatal) {
        if (auto error = m_state.database.commitTransaction())
            fail(std::move(error));
    }
    if (m_fatal && m_state.database.inTransaction())
        m_state.database.rollbackTransaction();
}

SaveOutcome SaveRun::report(bool payroll)
{
    SaveOutcome outcome;
    if (m_fatal) {
        m_ui.showMessage({"Die Daten konnten nicht gespeichert werden; die Datenbank ist unverändert." +
                              std::string(kCrLf) + std::string(kCrLf) + "Nr: " + std::to_string(m_fatal->number) +
                              std::string(kCrLf) + "Beschreibung: " + m_fatal->description,
                          std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
        return outcome;
    }
    outcome.committed = true;
    outcome.rowsNotSaved = m_notSaved;
    if (protocolOn()) {
        if (!payroll)
            m_counts.missingAccounts.reset();
        else if (!m_counts.missingAccounts)
            m_counts.missingAccounts = 0;
        m_unwritten = m_report.Finish(m_counts, {FormatFileLine(m_state.format, m_state.databasePath),
                                                 m_state.databasePath, m_options.programFolder,
                                                 currentDateTimeText()});
        outcome.unwrittenFiles = m_unwritten;
    }
    m_ui.showMessage({summary(payroll), std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::None, 0,
                      writtenReportFolder()});
    return outcome;
}

// Opens a table with an index, or records why it could not.
std::optional<TableRecordset> openIndexed(Database& database, std::string_view table, std::string_view index,
                                          SaveRun& run)
{
    auto opened = database.openTable(table);
    if (!opened.ok()) {
        run.fail(opened.error());
        return std::nullopt;
    }
    TableRecordset recordset = std::move(opened).value();
    if (auto error = recordset.setIndex(index)) {
        run.fail(std::move(error));
        return std::nullopt;
    }
    return recordset;
}

constexpr const char* kRecordNotFound = "Datensatz nicht gefunden";

enum class Seek { Found, NotFound, Failed };

// Seeks the record with these key values. A failed seek has already been reported for the row;
// whether a missing record matters is the caller's to say.
Seek seekRecord(TableRecordset& table, std::initializer_list<DbValue> keys, SaveRun& run, const RowWrite& write,
                std::string_view reasonPrefix = {})
{
    const std::vector<DbValue> values(keys);
    if (!run.stepDone(table.seek("=", values), write, reasonPrefix))
        return Seek::Failed;
    return table.noMatch() ? Seek::NotFound : Seek::Found;
}

using FieldValues = std::vector<std::pair<std::string_view, DbValue>>;

// Edit, set the fields in the order given, Update.
DbError writeFields(TableRecordset& table, const FieldValues& fields)
{
    if (auto error = table.edit())
        return error;
    for (const auto& [name, value] : fields) {
        if (auto error = table.setValue(name, value)) {
            table.cancelUpdate();
            return error;
        }
    }
    return table.update();
}

bool beginSave(ProgramState& state, SaveRun& run)
{
    if (!state.database.isOpen()) {
        run.fail(makeError(DbErrorNumber::NoDatabaseOpen, "Es ist keine Datenbank geöffnet."));
        return false;
    }
    if (auto error = state.database.beginTransaction()) {
        run.fail(std::move(error));
        return false;
    }
    return true;
}

void saveAccountRows(ProgramState& state, const WorkingSetArray& rows, const SaveOptions& options, SaveRun& run)
{
    const auto& info = formatInfo(state.format);
    auto table = openIndexed(state.database, state.tableName, info.writeBackIndex, run);
    if (!table)
        return;
    for (const auto& row : rows) {
        if (run.failed())
            break;
        const auto bic = trimmed(row[AccountColumn::Bic]);
        const auto iban = trimmed(row[AccountColumn::Iban]);
        const RowWrite write{row, bic, iban};
        const auto sought = seekRecord(*table, {DbValue{row[AccountColumn::Key]}}, run, write);
        if (sought == Seek::NotFound)
            run.rowNotSaved(write, kRecordNotFound);
        if (sought != Seek::Found)
            continue;
        const auto& hint = row[AccountColumn::Hint];
        FieldValues fields{{"BankBIC", bic},
                           {"BankIBAN", iban},
                           {"IBANKonvertierHinweis", hint},
                           {"BankBLZ", row[AccountColumn::Blz]},
                           {"BankKontoNr", row[AccountColumn::Account]}};
        if (options.overwriteBankName)
            fields.emplace_back("BankName", row[AccountColumn::BankName]);
        fields.emplace_back("IBANKonvertierNr", hintNumberValue(hint));
        if (run.stepDone(writeFields(*table, fields), write))
            run.countAndReport(row, bic, iban);
    }
}

void savePayrollRows(ProgramState& state, const WorkingSetArray& rows, SaveRun& run)
{
    auto personal = openIndexed(state.database, "Personal", "PrimaryKey", run);
    auto banks = openIndexed(state.database, "Banken", "BLZ", run);
    auto deductions = state.fixedDeductions ? openIndexed(state.database, "Festabzug", "PrimaryKey", run)
                                            : std::optional<TableRecordset>{};
    if (run.failed())
        return;
    for (const auto& row : rows) {
        if (run.failed())
            break;
        const auto bic = trimmed(row[AccountColumn::Bic]);
        const auto iban = trimmed(row[AccountColumn::Iban]);
        const RowWrite write{row, bic, iban};
        // The BIC belongs to the bank: every row with that BLZ writes it, the last one decides.
        if (!bic.empty()) {
            const auto bankReason = "BIC der Bank " + row[AccountColumn::Blz] + ": ";
            if (seekRecord(*banks, {DbValue{row[AccountColumn::Blz]}}, run, write, bankReason) == Seek::Found)
                run.stepDone(writeFields(*banks, {{"BankBIC", bic}}), write, bankReason);
        }
        if (run.failed())
            break;
        if (characterCount(row[AccountColumn::Account]) < 2) {
            run.missingAccount();
            continue;
        }
        TableRecordset& table = state.fixedDeductions ? *deductions : *personal;
        const auto sought =
            state.fixedDeductions
                ? seekRecord(table,
                             {DbValue{row[AccountColumn::Key]},
                              DbValue{static_cast<std::int64_t>(std::atol(row[AccountColumn::DeductionLine].c_str()))}},
                             run, write)
                : seekRecord(table, {DbValue{row[AccountColumn::Key]}}, run, write);
        if (sought == Seek::NotFound)
            run.rowNotSaved(write, kRecordNotFound);
        if (sought != Seek::Found)
            continue;
        const auto& hint = row[AccountColumn::Hint];
        const FieldValues fields{
            {"BankIBAN", iban}, {"IBANKonvertierHinweis", hint}, {"IBANKonvertierNr", hintNumberValue(hint)}};
        if (run.stepDone(writeFields(table, fields), write))
            run.countAndReport(row, bic, iban);
    }
}

} // namespace

SaveOutcome SaveWorkingSet(ProgramState& state, const WorkingSetArray& rows, const SaveOptions& options,
                           SaveReport& report, UserInterface& ui)
{
    if (state.format == ClientFormat::Galdo)
        return SavePayrollWorkingSet(state, rows, options, report, ui);
    SaveRun run(state, rows, options, report, ui, kAccountCsvHeader);
    {
        const BusyPointer busy(ui);
        ui.setStatusText("Daten werden geschrieben...");
        if (beginSave(state, run))
            saveAccountRows(state, rows, options, run);
        run.commit();
        ui.setStatusText("Bereit");
    }
    return run.report(false);
}

SaveOutcome SavePayrollWorkingSet(ProgramState& state, const WorkingSetArray& rows, const SaveOptions& options,
                                  SaveReport& report, UserInterface& ui)
{
    SaveRun run(state, rows, options, report, ui, kPayrollCsvHeader);
    {
        const BusyPointer busy(ui);
        ui.setStatusText("Daten werden geschrieben...");
        if (beginSave(state, run))
            savePayrollRows(state, rows, run);
        run.commit();
        ui.setStatusText("Bereit");
    }
    return run.report(true);
}

} // namespace zelvan
