#include "clientdb/WorkingSetSaver.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <map>
#include <optional>

#include "clientdb/ClientFormats.h"
#include "clientdb/FormatCheck.h"
#include "clientdb/HintClass.h"
#include "clientdb/TextFileWriter.h"
#include "iban/BankDetailsCheck.h"

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
    return std::find(kDatabaseWideErrors.begin(), kDatabaseWideErrors.end(), error.number) != kDatabaseWideErrors.end();
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
    SaveRun(ProgramState& state, WorkingSetArray& rows, const SaveOptions& options, SaveReport& report,
            UserInterface& ui, bool payroll)
        : m_state(state), m_rows(rows), m_options(options), m_report(report), m_ui(ui), m_payroll(payroll)
    {
        m_report.Start(payroll ? kPayrollCsvHeader : kAccountCsvHeader, m_options.protocol);
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
    // leaves the row unsaved with the engine's description as the reason. A transaction that
    // ended under the step (a trigger's RAISE(ROLLBACK)) has taken everything written so far
    // with it, and whatever came next would be written outside of it: the save ends.
    bool stepDone(const DbError& error, const RowWrite& write, std::string_view reasonPrefix = {})
    {
        if (!m_state.database.inTransaction()) {
            // SQLite itself ends the transaction on some errors (a full disk): that error is the cause.
            if (error && isDatabaseWide(error)) {
                fail(error);
                return false;
            }
            fail(makeError(DbErrorNumber::TransactionEnded,
                           "Die Datenbank hat die Transaktion des Speicherns abgebrochen" +
                               (error ? " (" + error.description + ")" : std::string()) + "."));
            return false;
        }
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

    // A row written whole: its stored values are renewed once the save is committed.
    void rowWritten(std::size_t index) { m_written.push_back(index); }
    // The BLZ and account a written row's record holds when they differ from what was typed.
    void storedAs(std::size_t index, std::string blz, std::string account)
    {
        m_storedAs[index] = {std::move(blz), std::move(account)};
    }
    // Galdo: the BIC this save has written to the bank with this BLZ.
    void bankBicWritten(const std::string& blz, const std::string& bic) { m_bankBics[blz] = bic; }
    const std::string* bankBicWritten(const std::string& blz) const
    {
        const auto found = m_bankBics.find(blz);
        return found == m_bankBics.end() ? nullptr : &found->second;
    }

    // Runs the writes of one row, inside its own savepoint when `savepoint`: a row whose write
    // fails (a trigger's RAISE(FAIL) after the record was changed, the second of its statements)
    // leaves nothing of it behind, and the save goes on. `write` tells whether the row was written.
    template <typename Write> bool writeRow(bool savepoint, Write&& write)
    {
        if (!savepoint)
            return write();
        if (auto error = m_state.database.execute("SAVEPOINT zelvan_zeile")) {
            fail(std::move(error));
            return false;
        }
        const bool written = write();
        // A save that failed or whose transaction ended is rolled back whole.
        if (failed() || !m_state.database.inTransaction())
            return false;
        DbError error;
        if (!written)
            error = m_state.database.execute("ROLLBACK TO zelvan_zeile");
        if (!error)
            error = m_state.database.execute("RELEASE zelvan_zeile");
        if (error)
            fail(std::move(error));
        return written && !error;
    }

    void countAndReport(const AccountRow& row, const std::string& bic, const std::string& iban)
    {
        const auto& hint = row[AccountColumn::Hint];
        const auto hintClass = classifyHint(hint);
        if (hintClass != HintClass::None)
            ++m_counts.hinted;
        if (hintClass == HintClass::Error)
            ++m_counts.errors;
        if (!iban.empty())
            ++m_counts.ibans;
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
    std::string notSavedText() const;
    void renewStoredValues();
    // The folder the protocol was written to; empty when it was not.
    std::string writtenReportFolder() const;

    ProgramState& m_state;
    WorkingSetArray& m_rows;
    const SaveOptions& m_options;
    SaveReport& m_report;
    UserInterface& m_ui;
    const bool m_payroll;
    SaveCounts m_counts;
    int m_notSaved = 0;
    std::vector<UnsavedRow> m_unsaved; // the first ones, for the summary
    std::optional<DbError> m_fatal;
    std::vector<std::string> m_unwritten;
    std::vector<std::size_t> m_written;
    std::map<std::string, std::string> m_bankBics;
    std::map<std::size_t, std::pair<std::string, std::string>> m_storedAs;
};

// The rollback undid every record; fields the open added to the database stay, and are named.
std::string SaveRun::notSavedText() const
{
    if (m_state.addedFields.empty())
        return "Die Daten konnten nicht gespeichert werden; die Datenbank ist unverändert.";
    std::string text = "Die Daten konnten nicht gespeichert werden; kein Datensatz wurde geändert. Beim Einlesen "
                       "wurden diese fehlenden Felder eingefügt:";
    for (const auto& field : m_state.addedFields)
        text += " " + field;
    return text;
}

std::string SaveRun::summary(bool payroll) const
{
    std::string text = "Insgesamt verarbeitete Datensätze: " + std::to_string(m_counts.rows);
    if (m_options.nameCopiesFrom) {
        const auto& copies = m_state.backups.copies();
        for (std::size_t i = *m_options.nameCopiesFrom; i < copies.size(); ++i)
            text.append(kCrLf).append("Sicherungskopie: ").append(copies[i]);
    }
    if (payroll && m_counts.missingAccounts.value_or(0) >= 1)
        text.append(kCrLf)
            .append(kCrLf)
            .append("Davon mit fehlender KontoNr: ")
            .append(std::to_string(*m_counts.missingAccounts));
    if (m_counts.hinted >= 1)
        text.append(kCrLf)
            .append(kCrLf)
            .append("Davon mit Konvertierhinweis: ")
            .append(std::to_string(m_counts.conversionHints()));
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
    const auto& reportPath = m_options.reportDatabasePath.empty() ? m_state.databasePath : m_options.reportDatabasePath;
    const auto folder = reportFolder(reportPath, m_options.programFolder);
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
    if (!m_fatal)
        renewStoredValues();
}

// What the records hold now is what this save wrote: a later save compares with that.
void SaveRun::renewStoredValues()
{
    for (const auto index : m_written) {
        auto& row = m_rows[index];
        row.typedFor.reset(); // what was typed now counts as loaded
        row.stored.iban = trimmed(row[AccountColumn::Iban]);
        if (m_payroll)
            continue; // BLZ and account are never written there, the BIC goes to the bank
        const auto storedAs = m_storedAs.find(index);
        row.stored.blz = storedAs == m_storedAs.end() ? row[AccountColumn::Blz] : storedAs->second.first;
        row.stored.account = storedAs == m_storedAs.end() ? row[AccountColumn::Account] : storedAs->second.second;
        row.stored.bic = trimmed(row[AccountColumn::Bic]);
    }
    // Galdo: the BIC belongs to the bank, so every row of that bank now holds the one written last.
    if (m_bankBics.empty())
        return;
    for (auto& row : m_rows) {
        if (const auto* bic = bankBicWritten(row[AccountColumn::Blz]))
            row.stored.bic = *bic;
    }
}

SaveOutcome SaveRun::report(bool payroll)
{
    SaveOutcome outcome;
    if (m_fatal) {
        outcome.rowsNotSaved = m_counts.rows;
        // Nothing was written, so no row counts with its hint.
        outcome.counts.rows = m_counts.rows;
        outcome.counts.notSaved = m_counts.rows;
        const DbError cause = withWriteCause(*m_fatal, m_state.databasePath);
        m_ui.showMessage({notSavedText() + std::string(kCrLf) + std::string(kCrLf) + "Nr: " +
                              std::to_string(cause.number) + std::string(kCrLf) + "Beschreibung: " + cause.description,
                          std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::Critical, 0});
        return outcome;
    }
    outcome.committed = true;
    outcome.rowsNotSaved = m_notSaved;
    m_counts.notSaved = m_notSaved;
    if (protocolOn()) {
        if (!payroll)
            m_counts.missingAccounts.reset();
        else if (!m_counts.missingAccounts)
            m_counts.missingAccounts = 0;
        const auto& reportPath =
            m_options.reportDatabasePath.empty() ? m_state.databasePath : m_options.reportDatabasePath;
        m_unwritten =
            m_report.Finish(m_counts, {FormatFileLine(m_state.format, reportPath), reportPath, m_options.programFolder,
                                       currentDateTimeText(), m_options.reportPrefix, m_options.dryRun});
        outcome.unwrittenFiles = m_unwritten;
    } else {
        // No report is written, yet what killed runs left beside the database goes all the same.
        removeTemporaryLeftovers(
            reportFolder(m_options.reportDatabasePath.empty() ? m_state.databasePath : m_options.reportDatabasePath,
                         m_options.programFolder));
    }
    outcome.counts = m_counts;
    m_ui.showMessage({summary(payroll), std::string(kApplicationTitle), MessageButtons::Ok, MessageIcon::None, 0,
                      writtenReportFolder()});
    return outcome;
}

// Opens a table with the index the format writes back through, or records why it could not.
// An index whose key fields are not the format's would find other records than the loaded ones.
std::optional<TableRecordset> openIndexed(Database& database, ClientFormat format, const WriteBackTable& writeBack,
                                          SaveRun& run)
{
    auto opened = database.openTable(writeBack.table);
    if (!opened.ok()) {
        run.fail(opened.error());
        return std::nullopt;
    }
    TableRecordset recordset = std::move(opened).value();
    auto error = recordset.setIndex(writeBack.index);
    if (!error)
        error = checkKeyFields(recordset, format, writeBack.keyFields);
    if (error) {
        run.fail(std::move(error));
        return std::nullopt;
    }
    return recordset;
}

constexpr const char* kRecordNotFound = "Datensatz nicht gefunden";
constexpr const char* kKeyMissing = "Schlüssel fehlt";
constexpr const char* kKeyRepeated = "Schlüssel mehrfach vorhanden";
constexpr const char* kChangedMeanwhile = "inzwischen von einem anderen Programm geändert";

enum class Seek { Found, NotFound, Failed };

// Seeks the first record with these key values. A failed seek has already been reported for the
// row; whether a missing record matters is the caller's to say.
Seek seekRecord(TableRecordset& table, std::initializer_list<DbValue> keys, SaveRun& run, const RowWrite& write,
                std::string_view reasonPrefix = {})
{
    const std::vector<DbValue> values(keys);
    if (!run.stepDone(table.seek("=", values), write, reasonPrefix))
        return Seek::Failed;
    return table.noMatch() ? Seek::NotFound : Seek::Found;
}

// Seeks the record the row was loaded from. A missing record is reported, and so is a key that
// several records share: which of them the row came from cannot be told.
bool seekOwnRecord(TableRecordset& table, std::initializer_list<DbValue> keys, SaveRun& run, const RowWrite& write)
{
    const auto sought = seekRecord(table, keys, run, write);
    if (sought == Seek::NotFound)
        run.rowNotSaved(write, kRecordNotFound);
    else if (sought == Seek::Found && table.keyRepeated())
        run.rowNotSaved(write, kKeyRepeated);
    return sought == Seek::Found && !table.keyRepeated();
}

// A cell as the record stores it: a key loaded as a number is sought as a number, text as text.
// Where the types differ, a field without a declared type or of type ANY holds no equal value.
DbValue asStored(const AccountRow& row, AccountColumn column)
{
    const auto& text = row[column];
    std::int64_t number = 0;
    if (row.isNumber(column)) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc{} && end == text.data() + text.size())
            return DbValue{number};
    }
    return DbValue{text};
}

// A field of the current record read as the working set reads it: null as the empty string.
bool holds(const TableRecordset& table, std::size_t position, const std::string& expected)
{
    const DbValue& value = table.valueAt(position);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text == expected;
    if (const auto* number = std::get_if<std::int64_t>(&value))
        return std::to_string(*number) == expected;
    return expected.empty();
}

// Positions of the bank fields in a table (npos for one it lacks, which then reads as empty).
struct BankFieldPositions {
    std::size_t blz = std::string::npos;
    std::size_t account = std::string::npos;
    std::size_t bic = std::string::npos;
    std::size_t iban = std::string::npos;
    std::size_t bankNr = std::string::npos; // Galdo: the reference to Banken.Nr
};

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
    // The copy is taken under the save's write lock: it holds the file as it was right before.
    if (auto error = backupBeforeChange(state.backups, state.database)) {
        run.fail(std::move(error));
        return false;
    }
    return true;
}

void saveAccountRows(ProgramState& state, WorkingSetArray& rows, const SaveOptions& options, SaveRun& run)
{
    const auto& info = formatInfo(state.format);
    const WriteBackTable writeBack{state.tableName, info.writeBackIndex, info.keyField};
    auto table = openIndexed(state.database, state.format, writeBack, run);
    if (!table)
        return;
    BankFieldPositions positions;
    positions.blz = table->fieldPosition("BankBLZ");
    positions.account = table->fieldPosition("BankKontoNr");
    positions.bic = table->fieldPosition("BankBIC");
    positions.iban = table->fieldPosition("BankIBAN");
    // Only a trigger can fail after the one statement of a row has changed its record.
    const bool savepoint = table->hasTriggers();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (run.failed())
            break;
        const auto& row = rows[index];
        const auto bic = trimmed(row[AccountColumn::Bic]);
        const auto iban = trimmed(row[AccountColumn::Iban]);
        const RowWrite write{row, bic, iban};
        if (auto refusal = refusedTypedBankDetails(iban, bic, row); !refusal.empty()) {
            run.rowNotSaved(write, std::move(refusal));
            continue;
        }
        const auto& key = row[AccountColumn::Key];
        if (key.empty()) {
            run.rowNotSaved(write, kKeyMissing);
            continue;
        }
        const auto keyValue = asStored(row, AccountColumn::Key);
        if (!seekOwnRecord(*table, {keyValue}, run, write))
            continue;
        const auto& stored = row.stored;
        if (!holds(*table, positions.blz, stored.blz) || !holds(*table, positions.account, stored.account) ||
            !holds(*table, positions.bic, stored.bic) || !holds(*table, positions.iban, stored.iban)) {
            run.rowNotSaved(write, kChangedMeanwhile);
            continue;
        }
        const auto& hint = row[AccountColumn::Hint];
        FieldValues fields{{"BankBIC", bic}, {"BankIBAN", iban}, {"IBANKonvertierHinweis", hint}};
        // A BLZ or account the user left as loaded keeps the value and type it is stored with: a
        // number column is not handed text, a number stays a number.
        const bool blzEdited = row[AccountColumn::Blz] != stored.blz;
        const bool accountEdited = row[AccountColumn::Account] != stored.account;
        if (blzEdited)
            fields.emplace_back("BankBLZ", row[AccountColumn::Blz]);
        if (accountEdited)
            fields.emplace_back("BankKontoNr", row[AccountColumn::Account]);
        if (options.overwriteBankName)
            fields.emplace_back("BankName", row[AccountColumn::BankName]);
        fields.emplace_back("IBANKonvertierNr", hintNumberValue(hint));
        if (!run.writeRow(savepoint, [&] { return run.stepDone(writeFields(*table, fields), write); }))
            continue;
        run.countAndReport(row, bic, iban);
        run.rowWritten(index);
        // An edited value may be stored otherwise than typed (a number column drops leading zeros):
        // a later save compares with what the record holds.
        if ((blzEdited || accountEdited) && !table->seek("=", std::vector<DbValue>{keyValue}) && !table->noMatch())
            run.storedAs(index, textOf(table->valueAt(positions.blz)), textOf(table->valueAt(positions.account)));
    }
}

// The Galdo tables of one save.
struct PayrollTables {
    TableRecordset& records;   // Personal or Festabzug
    TableRecordset& banks;     // by BLZ
    TableRecordset* banksByNr; // by Nr, when Banken has it as its primary key
    BankFieldPositions positions;
    std::size_t bankBlz = std::string::npos; // in Banken, for both bank record sets
    std::size_t bankBic = std::string::npos;
};

// The BIC belongs to the bank: every row with that BLZ writes it to the first bank with that BLZ,
// the last row decides. The bank's BIC must still be the one loaded, or one this save wrote
// itself. Returns false when the row is not to be saved.
bool checkBank(PayrollTables& tables, const RowWrite& write, SaveRun& run, bool& found)
{
    found = false;
    const auto& blz = write.row[AccountColumn::Blz];
    const auto bankReason = "BIC der Bank " + blz + ": ";
    const auto sought = seekRecord(tables.banks, {asStored(write.row, AccountColumn::Blz)}, run, write, bankReason);
    if (sought == Seek::Failed)
        return false;
    if (sought == Seek::NotFound)
        return true;
    found = true;
    // With the BLZ in several banks the loaded BIC may come from another one of them: which,
    // the row cannot tell, so the first one gets the BIC as it always did.
    if (tables.banks.keyRepeated())
        return true;
    const auto* written = run.bankBicWritten(blz);
    if (!holds(tables.banks, tables.bankBic, write.row.stored.bic) &&
        !(written && holds(tables.banks, tables.bankBic, *written))) {
        run.rowNotSaved(write, bankReason + kChangedMeanwhile);
        return false;
    }
    return true;
}

// The caller notes the BIC as written once the whole row is.
bool writeBankBic(PayrollTables& tables, const RowWrite& write, SaveRun& run)
{
    const auto& blz = write.row[AccountColumn::Blz];
    return run.stepDone(writeFields(tables.banks, {{"BankBIC", write.bic}}), write, "BIC der Bank " + blz + ": ");
}

// The employee's or deduction's record still holds the loaded account and IBAN, and still
// refers to a bank with the loaded BLZ. Returns false when the row is not to be saved.
bool checkRecord(PayrollTables& tables, const RowWrite& write, SaveRun& run)
{
    const auto& stored = write.row.stored;
    bool unchanged = holds(tables.records, tables.positions.account, stored.account) &&
                     holds(tables.records, tables.positions.iban, stored.iban);
    if (unchanged && tables.banksByNr) {
        const std::vector<DbValue> bankNr{tables.records.valueAt(tables.positions.bankNr)};
        if (!run.stepDone(tables.banksByNr->seek("=", bankNr), write))
            return false;
        unchanged = !tables.banksByNr->noMatch() && holds(*tables.banksByNr, tables.bankBlz, stored.blz);
    }
    if (!unchanged)
        run.rowNotSaved(write, kChangedMeanwhile);
    return unchanged;
}

void savePayrollRows(ProgramState& state, WorkingSetArray& rows, SaveRun& run)
{
    const auto writeBack = galdoWriteBackTables();
    auto personal = openIndexed(state.database, ClientFormat::Galdo, writeBack[0], run);
    auto deductions = state.fixedDeductions ? openIndexed(state.database, ClientFormat::Galdo, writeBack[1], run)
                                            : std::optional<TableRecordset>{};
    auto banks = openIndexed(state.database, ClientFormat::Galdo, writeBack[2], run);
    if (run.failed())
        return;
    // The bank an employee refers to, to see that it still has the loaded BLZ.
    std::optional<TableRecordset> banksByNr;
    if (auto opened = state.database.openTable("Banken"); opened.ok()) {
        banksByNr = std::move(opened).value();
        if (banksByNr->setIndex("PrimaryKey") || checkKeyFields(*banksByNr, ClientFormat::Galdo, "Nr"))
            banksByNr.reset();
    }
    PayrollTables tables{state.fixedDeductions ? *deductions : *personal,
                         *banks,
                         banksByNr ? &*banksByNr : nullptr,
                         {},
                         banks->fieldPosition("BLZ"),
                         banks->fieldPosition("BankBIC")};
    tables.positions.account = tables.records.fieldPosition("Konto-Nr");
    tables.positions.iban = tables.records.fieldPosition("BankIBAN");
    tables.positions.bankNr = tables.records.fieldPosition("BankNr");
    // A row that writes the bank's BIC and its record, or any row where a trigger may fail after
    // the record was changed, is written in its own savepoint.
    const bool triggers = tables.records.hasTriggers() || tables.banks.hasTriggers();
    struct WrittenRow {
        std::size_t index;
        std::string bic;
        std::string iban;
    };
    std::vector<WrittenRow> written;

    for (std::size_t index = 0; index < rows.size(); ++index) {
        if (run.failed())
            break;
        const auto& row = rows[index];
        const auto bic = trimmed(row[AccountColumn::Bic]);
        const auto iban = trimmed(row[AccountColumn::Iban]);
        const RowWrite write{row, bic, iban};
        if (auto refusal = refusedTypedBankDetails(iban, bic, row); !refusal.empty()) {
            run.rowNotSaved(write, std::move(refusal));
            continue;
        }
        bool bankFound = false;
        // A row without account number (a bank without employees among them) still gives its
        // bank the BIC.
        if (characterCount(row[AccountColumn::Account]) < 2) {
            if (!bic.empty()) {
                if (!checkBank(tables, write, run, bankFound))
                    continue;
                if (bankFound && !run.writeRow(triggers, [&] { return writeBankBic(tables, write, run); }))
                    continue;
                if (bankFound)
                    run.bankBicWritten(row[AccountColumn::Blz], bic);
            }
            run.missingAccount();
            continue;
        }
        const auto& key = row[AccountColumn::Key];
        if (key.empty()) {
            run.rowNotSaved(write, kKeyMissing);
            continue;
        }
        const auto keyValue = asStored(row, AccountColumn::Key);
        const bool found = state.fixedDeductions
                               ? seekOwnRecord(tables.records,
                                               {keyValue, DbValue{static_cast<std::int64_t>(
                                                              std::atol(row[AccountColumn::DeductionLine].c_str()))}},
                                               run, write)
                               : seekOwnRecord(tables.records, {keyValue}, run, write);
        if (!found)
            continue;
        if (!checkRecord(tables, write, run))
            continue;
        if (!bic.empty() && !checkBank(tables, write, run, bankFound))
            continue;
        const auto& hint = row[AccountColumn::Hint];
        const FieldValues fields{
            {"BankIBAN", iban}, {"IBANKonvertierHinweis", hint}, {"IBANKonvertierNr", hintNumberValue(hint)}};
        const bool rowWritten = run.writeRow(bankFound || triggers, [&] {
            return (!bankFound || writeBankBic(tables, write, run)) &&
                   run.stepDone(writeFields(tables.records, fields), write);
        });
        if (!rowWritten)
            continue;
        if (bankFound)
            run.bankBicWritten(row[AccountColumn::Blz], bic);
        written.push_back({index, bic, iban});
        run.rowWritten(index);
    }
    // Reported once every row is written: the BIC the protocol shows is the one the bank holds.
    for (const auto& [index, bic, iban] : written) {
        const auto* bankBic = run.bankBicWritten(rows[index][AccountColumn::Blz]);
        run.countAndReport(rows[index], bankBic ? *bankBic : bic, iban);
    }
}

} // namespace

SaveOutcome SaveWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveOptions& options, SaveReport& report,
                           UserInterface& ui)
{
    if (state.format == ClientFormat::Galdo)
        return SavePayrollWorkingSet(state, rows, options, report, ui);
    SaveRun run(state, rows, options, report, ui, false);
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

SaveOutcome SavePayrollWorkingSet(ProgramState& state, WorkingSetArray& rows, const SaveOptions& options,
                                  SaveReport& report, UserInterface& ui)
{
    SaveRun run(state, rows, options, report, ui, true);
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
