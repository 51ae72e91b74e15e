#include "clientdb/ClientDatabase.h"

#include <filesystem>
#include <initializer_list>
#include <span>

#include "clientdb/SqliteHandles.h"

namespace zelvan {

namespace {

constexpr std::string_view kOpeningStatus = "Datenbank wird geöffnet, Datenstrukturen werden geprüft/ergänzt...";
constexpr std::string_view kLinkedToMarlo = "Die Kundendaten sind mit der Direktverbindung zu Marlo aufgebaut. "
                                            "Es wird jetzt die Marlo-Datenbank geöffnet.";
constexpr std::string_view kAccountTable = "Personenkonten";
constexpr std::string_view kCustomerTable = "Kunden";

void showOk(UserInterface& ui, std::string text)
{
    MessageRequest request;
    request.text = std::move(text);
    request.title = std::string(kApplicationTitle);
    ui.showMessage(request);
}

void showOpenError(UserInterface& ui, const std::string& path, const DbError& error)
{
    showOk(ui, "Fehler beim Öffnen der Haupt-Datenbank\r" + path + "\rNummer:" + std::to_string(error.number) + "\r" +
                   error.description);
}

// The fields one table of a format gets.
struct TableFields {
    std::string_view table;
    std::span<const FieldSpec> fields;
};

// Adds the missing fields of one table inside the extension's transaction; a missing table is
// left to the load, which names it. The first failure stops it.
DbError extendTable(ProgramState& state, const TableFields& table, const FieldAddedSeam& fieldAdded)
{
    for (const auto& field : table.fields) {
        // Read under the write lock: a field another run added in the meantime is present.
        const bool missing = !state.database.field(table.table, field.name).ok();
        auto error = EnsureField(state.database, table.table, field);
        if (error.number == static_cast<int>(DbErrorNumber::TableNotFound))
            return {};
        if (error)
            return error;
        if (!missing)
            continue;
        state.addedFields.push_back(std::string(table.table) + "." + std::string(field.name));
        if (fieldAdded) {
            if (auto stop = fieldAdded())
                return stop;
        }
    }
    return {};
}

// Whether extending the table would add a field, that is change the file.
bool lacksFields(const Database& database, std::string_view table, std::span<const FieldSpec> fields)
{
    for (const auto& field : fields) {
        const auto found = database.field(table, field.name);
        if (!found.ok() && found.error().number == static_cast<int>(DbErrorNumber::FieldNotFound))
            return true;
    }
    return false;
}

// Before fields are added the file is copied; without a copy the open stops and nothing is added.
bool backedUpBeforeExtending(ProgramState& state, UserInterface& ui, OpenOutcome& outcome)
{
    auto error = backupBeforeChange(state.backups, state.database);
    if (!error)
        return true;
    showOpenError(ui, state.databasePath, error);
    state.database.close();
    outcome.backupFailed = true;
    return false;
}

// Adds the missing fields of all the tables in one transaction, after taking the write lock, so
// that they are added all or none: a failure, or a program killed on the way, leaves none of them.
// Returns false when the open has stopped (no copy of the file could be made).
bool extendSchema(ProgramState& state, std::initializer_list<TableFields> tables, UserInterface& ui,
                  OpenOutcome& outcome, const FieldAddedSeam& fieldAdded)
{
    bool lacking = false;
    for (const auto& table : tables)
        lacking = lacking || lacksFields(state.database, table.table, table.fields);
    if (!lacking)
        return true;
    if (!backedUpBeforeExtending(state, ui, outcome))
        return false;
    auto error = state.database.beginTransaction();
    // Reading the schema table under the lock makes the connection see fields added meanwhile.
    if (!error)
        error = state.database.execute("SELECT count(*) FROM sqlite_master");
    for (const auto& table : tables) {
        if (!error)
            error = extendTable(state, table, fieldAdded);
    }
    if (!error)
        error = state.database.commitTransaction();
    if (error) {
        if (state.database.inTransaction())
            (void)state.database.rollbackTransaction();
        state.addedFields.clear();
        outcome.extensionError = withWriteCause(std::move(error), state.databasePath);
    }
    return true;
}

} // namespace

std::string linkedDatabasePath(const std::string& connect, const std::string& linkingDatabase)
{
    const auto equals = connect.find('=');
    std::string path = equals == std::string::npos ? connect : connect.substr(equals + 1);
    const std::filesystem::path linked(path);
    if (!path.empty() && linked.is_relative())
        path = (std::filesystem::path(linkingDatabase).parent_path() / linked).string();
    return path;
}

DbError EnsureField(Database& database, std::string_view table, const FieldSpec& field)
{
    DbError error;
    if (!database.field(table, field.name).ok())
        error = database.createField(table, field.name, field.type, field.size);
    if (field.type == FieldType::Text)
        (void)database.setAllowZeroLength(table, field.name, true);
    return error;
}

OpenOutcome OpenClientDatabase(ProgramState& state, UserInterface& ui, const FieldAddedSeam& fieldAdded)
{
    ui.setStatusText(kOpeningStatus);
    OpenOutcome outcome;
    state.addedFields.clear();
    for (;;) {
        // A failed open leaves no database behind, not even the one of an earlier load.
        if (auto error = state.database.open(state.databasePath)) {
            showOpenError(ui, state.databasePath, error);
            return outcome;
        }
        switch (state.format) {
        case ClientFormat::MarloOp:
        case ClientFormat::Dorvan:
            state.tableName = kAccountTable;
            break;
        case ClientFormat::Tondra: {
            state.tableName = kCustomerTable;
            const auto customers = state.database.tableDef(kCustomerTable);
            if (!customers.ok()) {
                showOpenError(ui, state.databasePath, customers.error());
                return outcome;
            }
            if (!customers.value().isLinked())
                break;
            showOk(ui, std::string(kLinkedToMarlo));
            state.databasePath = linkedDatabasePath(customers.value().connect, state.databasePath);
            state.format = ClientFormat::MarloOp;
            outcome.redirected = true;
            if (auto error = state.database.close()) {
                showOpenError(ui, state.databasePath, error);
                return outcome;
            }
            continue;
        }
        case ClientFormat::Galdo:
            // A database without Personal or Banken cannot be loaded as Galdo's: none of its tables is
            // touched, and the load names what is missing.
            if (state.database.tableDef("Personal").ok() && state.database.tableDef("Banken").ok() &&
                !extendSchema(state,
                              {{"Festabzug", galdoPersonFields()},
                               {"Personal", galdoPersonFields()},
                               {"Banken", galdoBankFields()}},
                              ui, outcome, fieldAdded))
                return outcome;
            state.tableName = "Banken";
            outcome.succeeded = true;
            return outcome;
        default:
            break; // the table name stays as it is
        }
        if (!extendSchema(state, {{state.tableName, accountTableFields()}}, ui, outcome, fieldAdded))
            return outcome;
        outcome.succeeded = true;
        return outcome;
    }
}

void CloseClientDatabase(ProgramState& state, UserInterface& ui)
{
    if (!state.database.isOpen())
        return;
    if (auto error = state.database.close()) {
        showOk(ui, "Fehler beim Schließen der Hauptdatenbank\r\rNummer: " + std::to_string(error.number) +
                       "\rBeschreibung: " + error.description + "\r\rAbbruch des Programms wird empfohlen!");
    }
}

} // namespace zelvan
