#include "clientdb/WorkingSetLoader.h"

#include <filesystem>
#include <optional>

#include "clientdb/ClientDatabase.h"
#include "clientdb/ClientFormats.h"
#include "clientdb/SqliteHandles.h"

namespace zelvan {

namespace {

constexpr std::string_view kGaldoDeductionsStatement =
    "SELECT Personal.Nr, Personal.Suchname, Banken.BLZ, Festabzug.[Konto-Nr], Banken.BankBIC, Festabzug.BankIBAN, "
    "Festabzug.IBANKonvertierHinweis, Banken.Bezeichnung, Festabzug.IBANKonvertierNr, Festabzug.Zeile "
    "FROM Personal, Banken, Festabzug "
    "WHERE Festabzug.BankNr = Banken.Nr and Personal.Nr = Festabzug.PersonalNr"
    " ORDER BY Personal.Nr";

constexpr std::string_view kGaldoPersonnelStatement =
    "SELECT Personal.Nr, Personal.Suchname, Banken.BLZ, Personal.[Konto-Nr], Banken.BankBIC, Personal.BankIBAN, "
    "Personal.IBANKonvertierHinweis, Banken.Bezeichnung, Personal.IBANKonvertierNr "
    "FROM Personal RIGHT JOIN Banken ON Personal.BankNr = Banken.Nr "
    " ORDER BY Personal.Nr";

// "<> ''" rather than "> ''": the same rows for text, and a BLZ or account number stored as a
// number (which SQLite sorts before every text) is not left out.
constexpr std::string_view kAccountFilter =
    " WHERE Not ISNULL(BankKontoNr) AND BankKontoNr <> '' AND Not ISNULL(BankBLZ) AND BankBLZ <> ''";
constexpr std::string_view kWithoutIbanFilter = " AND (ISNULL(BankIBAN) OR TRIM$(BankIBAN) = '')";
constexpr std::string_view kAccountSelect = "SELECT OPKontoNr, Suchname, BankBLZ, BankKontoNr, BankBIC, BankIBAN, "
                                            "IBANKonvertierHinweis, BankName, IBANKonvertierNr FROM ";

// Headings of the columns that can be freed for manual input.
constexpr std::string_view kBankColumns[] = {"BankIBAN", "BankBIC", "BankBLZ", "BankKontoNr"};

void showOk(UserInterface& ui, std::string text)
{
    MessageRequest request;
    request.text = std::move(text);
    request.title = std::string(kApplicationTitle);
    ui.showMessage(request);
}

// The longest input a bank column takes: the text length its declared type gives (VARCHAR(34));
// for a column without one (a STRICT table's TEXT, a number column) the size of the field list
// for a field the schema extension adds, else no limit (0).
int inputLength(const RecordsetField& field)
{
    return field.textLength ? field.size : addedTextFieldSize(field.name);
}

// The extension adds all fields or none: after a failure the database is as it was.
std::string extensionFailedText(const ProgramState& state, const DbError& error)
{
    return "Die fehlenden Felder konnten nicht in die Datenbank eingefügt werden.\r" + state.databasePath +
           "\rNummer:" + std::to_string(error.number) + "\r" + error.description + "\rDie Datenbank ist unverändert.";
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool tableExists(const ProgramState& state)
{
    const auto definition = state.database.tableDef(state.tableName);
    return definition.ok() && sqlite::sameName(definition.value().name, state.tableName);
}

void copyRows(const Recordset& recordset, WorkingSetArray& rows)
{
    const std::size_t count = recordset.recordCount();
    const std::size_t columns = std::min(recordset.fieldCount(), kAccountColumnCount);
    rows.resize(count);
    for (std::size_t r = 0; r < count; ++r) {
        auto& row = rows[r];
        for (std::size_t c = 0; c < columns; ++c) {
            row.cells[c] = recordset.value(r, c);
            if (recordset.isNumber(r, c))
                row.numberCells |= static_cast<std::uint16_t>(1U << c);
        }
        row.stored = {row[AccountColumn::Blz], row[AccountColumn::Account], row[AccountColumn::Bic],
                      row[AccountColumn::Iban]};
    }
}

} // namespace

std::string workingSetStatement(const ProgramState& state, int hideRowsWithIban)
{
    if (state.format == ClientFormat::Galdo)
        return std::string(state.fixedDeductions ? kGaldoDeductionsStatement : kGaldoPersonnelStatement);
    std::string filter(kAccountFilter);
    if (hideRowsWithIban == 1)
        filter += kWithoutIbanFilter;
    return std::string(kAccountSelect) + state.tableName + filter + " ORDER BY OPKontoNr";
}

void PopulateRecordset(Recordset& recordset)
{
    if (recordset.recordCount() > 0) {
        recordset.moveLast();
        recordset.moveFirst();
    }
}

std::vector<GridColumnSetup> BindGridColumns(const Recordset& recordset, int freeManualInput)
{
    std::vector<GridColumnSetup> columns;
    for (const auto& field : recordset.fields()) {
        GridColumnSetup column;
        column.heading = field.name;
        for (const auto name : kBankColumns)
            column.bankColumn = column.bankColumn || sqlite::sameName(field.name, name);
        column.editable = column.bankColumn && freeManualInput > 0;
        column.maxLength = column.editable ? inputLength(field) : 0;
        columns.push_back(std::move(column));
    }
    return columns;
}

LoadOutcome LoadWorkingSet(ProgramState& state, WorkingSetArray& rows, Recordset& recordset, const LoadOptions& options,
                           UserInterface& ui)
{
    LoadOutcome outcome;
    rows.clear();
    recordset.close();

    std::optional<BusyPointer> busy;
    if (fileExists(state.databasePath)) {
        busy.emplace(ui);
        const auto open = OpenClientDatabase(state, ui);
        outcome.redirected = open.redirected;
        if (open.backupFailed || (!open.succeeded && !open.extensionError)) {
            // Its message has been shown (the true cause: no database, unreadable, no copy made);
            // the file was left as it is and nothing is loaded.
        } else if (open.extensionError) {
            // Without its fields the database can be neither read as the format nor saved to.
            showOk(ui, extensionFailedText(state, open.extensionError));
            state.database.close();
        } else if (!tableExists(state)) {
            showOk(ui, "Die Tabelle " + state.tableName +
                           " ist nicht vorhanden.\rDaher können keine Konvertierungsdaten ermittelt werden.\r\r"
                           "Bitte wählen Sie eine andere Datenbank zum Umwandeln aus.");
        } else {
            ui.setStatusText("Daten werden eingelesen...");
            const std::string statement = workingSetStatement(state, options.hideRowsWithIban);
            auto opened = state.database.openRecordset(statement);
            if (!opened.ok()) {
                showOk(ui, "Fehler bei der Datenermittlung!\r\rNr: " + std::to_string(opened.error().number) +
                               "\rBeschreibung: " + opened.error().description + "\r" + statement);
            } else {
                recordset = std::move(opened).value();
                outcome.succeeded = state.database.isOpen();
                PopulateRecordset(recordset);
                if (recordset.recordCount() > 0)
                    copyRows(recordset, rows);
            }
        }
    } else {
        // Nothing to load: no database of an earlier load stays open under a path that is gone.
        state.database.close();
    }

    ui.processEvents();
    outcome.columnCount = rows.empty() ? 0 : recordset.fieldCount();
    outcome.gridCaption = "Anzahl Datensätze: " + std::to_string(rows.size());
    if (!rows.empty())
        outcome.columns = BindGridColumns(recordset, options.freeManualInput);
    ui.processEvents();
    outcome.saveEnabled = false;
    // Without a database there is nothing to convert, and a conversion would only offer a save
    // that cannot succeed.
    outcome.convertEnabled = outcome.succeeded;
    const bool galdo = state.format == ClientFormat::Galdo;
    outcome.bankNameOptionAvailable = !galdo;
    outcome.hideIbanOptionAvailable = !galdo;
    ui.setStatusText("Bereit");
    return outcome;
}

} // namespace zelvan
