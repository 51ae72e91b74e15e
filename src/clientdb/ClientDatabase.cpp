#include "clientdb/ClientDatabase.h"

#include <filesystem>

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

// Adds the missing fields of one table; the first failure ends the extension (another field
// would only wait for the same lock or fail on the same disk). A missing table is left to the
// load, which names it.
void extendTable(ProgramState& state, std::string_view table, std::span<const FieldSpec> fields, OpenOutcome& outcome)
{
    for (const auto& field : fields) {
        if (outcome.extensionError)
            return;
        const bool missing = !state.database.field(table, field.name).ok();
        auto error = EnsureField(state.database, table, field);
        if (error.number == static_cast<int>(DbErrorNumber::TableNotFound))
            continue;
        if (error)
            outcome.extensionError = withWriteCause(std::move(error), state.databasePath);
        else if (missing)
            state.addedFields.push_back(std::string(table) + "." + std::string(field.name));
    }
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

OpenOutcome OpenClientDatabase(ProgramState& state, UserInterface& ui)
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
            // A database without Personal is no Galdo database: none of its tables is touched.
            if (state.database.tableDef("Personal").ok()) {
                if ((lacksFields(state.database, "Festabzug", galdoPersonFields()) ||
                     lacksFields(state.database, "Personal", galdoPersonFields()) ||
                     lacksFields(state.database, "Banken", galdoBankFields())) &&
                    !backedUpBeforeExtending(state, ui, outcome))
                    return outcome;
                extendTable(state, "Festabzug", galdoPersonFields(), outcome);
                extendTable(state, "Personal", galdoPersonFields(), outcome);
                extendTable(state, "Banken", galdoBankFields(), outcome);
            }
            state.tableName = "Banken";
            outcome.succeeded = true;
            return outcome;
        default:
            break; // the table name stays as it is
        }
        if (lacksFields(state.database, state.tableName, accountTableFields()) &&
            !backedUpBeforeExtending(state, ui, outcome))
            return outcome;
        extendTable(state, state.tableName, accountTableFields(), outcome);
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
