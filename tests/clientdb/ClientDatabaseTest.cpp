#include "clientdb/ClientDatabase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "DemoFiles.h"
#include "ReadOnlyFile.h"
#include "support/RecordingUserInterface.h"

namespace zelvan {
namespace {

using test::DemoFiles;
using test::RecordingUserInterface;

constexpr const char* kLinkedMessage = "Die Kundendaten sind mit der Direktverbindung zu Marlo aufgebaut. Es wird "
                                       "jetzt die Marlo-Datenbank geöffnet.";

ProgramState stateFor(ClientFormat format, const std::string& path)
{
    ProgramState state;
    state.format = format;
    state.databasePath = path;
    return state;
}

// Declared types of the named fields of a table ("" for a missing field).
std::vector<std::string> typesOf(const Database& database, const std::string& table,
                                 const std::vector<std::string>& names)
{
    std::vector<std::string> types;
    for (const auto& name : names) {
        const auto field = database.field(table, name);
        types.push_back(field.ok() ? field.value().declaredType : "");
    }
    return types;
}

const std::vector<std::string> kAccountFieldNames = {"BankIBAN",
                                                     "BankBIC",
                                                     "SEPALastschriftMandatReferenz",
                                                     "SEPALastschriftMandatDatum",
                                                     "SEPALastschriftMandatArt",
                                                     "IBANKonvertierHinweis",
                                                     "IBANKonvertierNr"};
const std::vector<std::string> kAccountFieldTypes = {"VARCHAR(34)", "VARCHAR(11)",  "VARCHAR(35)", "DATETIME",
                                                     "VARCHAR(50)", "VARCHAR(250)", "SMALLINT"};

void expectOpenError(const RecordingUserInterface& ui, std::size_t index, const std::string& path, int number,
                     const std::string& description)
{
    ASSERT_GT(ui.messages.size(), index);
    const auto& message = ui.messages[index];
    EXPECT_EQ(message.text, "Fehler beim Öffnen der Haupt-Datenbank\r" + path + "\rNummer:" + std::to_string(number) +
                                "\r" + description);
    EXPECT_EQ(message.title, "Zelvan Konverter");
    EXPECT_EQ(message.buttons, MessageButtons::Ok);
    EXPECT_EQ(message.icon, MessageIcon::None);
}

TEST(ClientDatabase, adds_the_account_fields_to_marlo_and_dorvan)
{
    for (const auto format : {ClientFormat::MarloOp, ClientFormat::Dorvan}) {
        DemoFiles files;
        auto state = stateFor(format, format == ClientFormat::MarloOp ? files.marlo() : files.dorvan());
        RecordingUserInterface ui;
        const auto outcome = OpenClientDatabase(state, ui);
        EXPECT_TRUE(outcome.succeeded);
        EXPECT_FALSE(outcome.redirected);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(ui.statusTexts,
                  std::vector<std::string>{"Datenbank wird geöffnet, Datenstrukturen werden geprüft/ergänzt..."});
        EXPECT_EQ(state.tableName, "Personenkonten");
        EXPECT_TRUE(state.database.isOpen());
        EXPECT_EQ(typesOf(state.database, "Personenkonten", kAccountFieldNames), kAccountFieldTypes);
    }
}

TEST(ClientDatabase, adds_fields_once_and_keeps_existing_ones)
{
    DemoFiles files;
    auto state = stateFor(ClientFormat::Tondra, files.tondra({.ibanFields = demo::IbanFields::AllButHintNumber}));
    RecordingUserInterface ui;
    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    EXPECT_EQ(state.tableName, "Kunden");
    EXPECT_EQ(typesOf(state.database, "Kunden", kAccountFieldNames), kAccountFieldTypes);
    const auto fieldCount = state.database.fields("Kunden").value().size();

    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    EXPECT_EQ(state.database.fields("Kunden").value().size(), fieldCount);
    EXPECT_TRUE(ui.messages.empty());
    const auto kept = state.database.openRecordset("SELECT BankIBAN FROM Kunden WHERE OPKontoNr = 20004");
    EXPECT_EQ(kept.value().value(0, 0), "DE40100100100008765431");
}

TEST(ClientDatabase, galdo_gets_its_three_fields_and_the_bank_bic_but_no_sepa_fields)
{
    DemoFiles files;
    auto state = stateFor(ClientFormat::Galdo, files.galdo());
    RecordingUserInterface ui;
    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    EXPECT_EQ(state.tableName, "Banken");
    const std::vector<std::string> personFields = {"BankIBAN", "IBANKonvertierHinweis", "IBANKonvertierNr"};
    const std::vector<std::string> personTypes = {"VARCHAR(34)", "VARCHAR(250)", "SMALLINT"};
    EXPECT_EQ(typesOf(state.database, "Personal", personFields), personTypes);
    EXPECT_EQ(typesOf(state.database, "Festabzug", personFields), personTypes);
    EXPECT_EQ(typesOf(state.database, "Banken", {"BankBIC"}), std::vector<std::string>{"VARCHAR(11)"});
    for (const char* table : {"Personal", "Festabzug", "Banken"}) {
        for (const auto& field : state.database.fields(table).value())
            EXPECT_FALSE(field.name.starts_with("SEPA")) << table;
    }
    EXPECT_FALSE(state.database.field("Personal", "BankBIC").ok());
    EXPECT_FALSE(state.database.field("Banken", "BankIBAN").ok());
}

TEST(ClientDatabase, a_database_without_personal_gets_no_galdo_fields)
{
    DemoFiles files;
    const auto path = files.galdo();
    test::executeOn(path, "DROP TABLE Personal");
    auto state = stateFor(ClientFormat::Galdo, path);
    RecordingUserInterface ui;
    OpenClientDatabase(state, ui);
    EXPECT_EQ(state.tableName, "Banken");
    EXPECT_EQ(typesOf(state.database, "Banken", {"BankBIC"}), std::vector<std::string>{""});
    EXPECT_EQ(typesOf(state.database, "Festabzug", {"BankIBAN"}), std::vector<std::string>{""});
}

TEST(ClientDatabase, a_linked_tondra_database_leads_to_the_marlo_database)
{
    DemoFiles files;
    const auto marlo = files.marlo();
    auto state = stateFor(ClientFormat::Tondra, files.linkedTondra(marlo));
    RecordingUserInterface ui;
    const auto outcome = OpenClientDatabase(state, ui);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_TRUE(outcome.redirected);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kLinkedMessage);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(state.format, ClientFormat::MarloOp);
    EXPECT_EQ(state.databasePath, marlo);
    EXPECT_EQ(state.database.path(), marlo);
    EXPECT_EQ(state.tableName, "Personenkonten");
    EXPECT_EQ(typesOf(state.database, "Personenkonten", kAccountFieldNames), kAccountFieldTypes);
    EXPECT_EQ(FormatFileLine(state.format, state.databasePath), "Format: Marlo  Datei: " + marlo);

    // The next load opens the Marlo database directly.
    EXPECT_FALSE(OpenClientDatabase(state, ui).redirected);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(ClientDatabase, a_relative_link_is_taken_from_the_folder_of_the_linking_database)
{
    DemoFiles files;
    files.marlo();
    const auto linked = files.linkedTondra("ignored");
    test::executeOn(linked, "UPDATE LinkedTables SET Connect = ';DATABASE=MARL001.MDB'");
    auto state = stateFor(ClientFormat::Tondra, linked);
    RecordingUserInterface ui;
    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    EXPECT_EQ(std::filesystem::path(state.databasePath), std::filesystem::path(files.path("MARL001.MDB")));
}

TEST(ClientDatabase, a_link_to_a_missing_marlo_database)
{
    DemoFiles files;
    const auto marlo = files.path("MARL404.MDB");
    auto state = stateFor(ClientFormat::Tondra, files.linkedTondra(marlo));
    RecordingUserInterface ui;
    const auto outcome = OpenClientDatabase(state, ui);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_TRUE(outcome.redirected);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, kLinkedMessage);
    expectOpenError(ui, 1, marlo, 3001, "Die Datei " + marlo + " ist nicht vorhanden.");
    EXPECT_FALSE(state.database.isOpen());
    EXPECT_EQ(state.format, ClientFormat::MarloOp);
    EXPECT_FALSE(std::filesystem::exists(marlo));
}

TEST(ClientDatabase, a_tondra_database_without_customers)
{
    DemoFiles files;
    const auto path = files.marlo();
    auto state = stateFor(ClientFormat::Tondra, path);
    RecordingUserInterface ui;
    EXPECT_FALSE(OpenClientDatabase(state, ui).succeeded);
    ASSERT_EQ(ui.messages.size(), 1u);
    expectOpenError(ui, 0, path, 3011, "Die Tabelle Kunden ist in der Datenbank nicht vorhanden.");
    EXPECT_EQ(state.tableName, "Kunden");
    EXPECT_FALSE(state.database.field("Personenkonten", "BankIBAN").ok()) << "the schema is not checked";
}

TEST(ClientDatabase, a_failed_open_drops_the_database_of_the_earlier_load)
{
    DemoFiles files;
    auto state = stateFor(ClientFormat::MarloOp, files.marlo());
    RecordingUserInterface ui;
    ASSERT_TRUE(OpenClientDatabase(state, ui).succeeded);

    state.databasePath = files.file("MARL002.MDB", "keine Datenbank\r\n");
    EXPECT_FALSE(OpenClientDatabase(state, ui).succeeded);
    expectOpenError(ui, 0, state.databasePath, 3002,
                    "Die Datei ist keine SQLite-Datenbank und damit keine Mandanten-Datenbank.");
    EXPECT_FALSE(state.database.isOpen());
}

TEST(ClientDatabase, a_read_only_database_opens_without_its_new_fields)
{
    DemoFiles files;
    const auto path = files.marlo();
    const test::ReadOnlyFile readOnly(path);
    auto state = stateFor(ClientFormat::MarloOp, path);
    RecordingUserInterface ui;
    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    if (!state.database.isReadOnly())
        GTEST_SKIP() << "the file system lets this user write to read-only files";
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(typesOf(state.database, "Personenkonten", {"BankIBAN", "IBANKonvertierNr"}),
              (std::vector<std::string>{"", ""}));
    state.database.close();
}

TEST(ClientDatabase, without_a_format_the_remembered_table_is_extended)
{
    DemoFiles files;
    auto state = stateFor(ClientFormat::None, files.tondra());
    state.tableName = "Kunden";
    RecordingUserInterface ui;
    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    EXPECT_EQ(state.tableName, "Kunden");
    EXPECT_EQ(typesOf(state.database, "Kunden", kAccountFieldNames), kAccountFieldTypes);
}

TEST(ClientDatabase, ensure_field_creates_only_what_is_missing)
{
    DemoFiles files;
    Database database;
    ASSERT_FALSE(database.open(files.tondra({.ibanFields = demo::IbanFields::AllButHintNumber})));
    const auto before = database.fields("Kunden").value().size();
    for (const auto& field : accountTableFields())
        EnsureField(database, "Kunden", field);
    EXPECT_EQ(database.fields("Kunden").value().size(), before + 1);
    EXPECT_EQ(database.field("Kunden", "IBANKonvertierNr").value().declaredType, "SMALLINT");
    EnsureField(database, "Gibtsnicht", accountTableFields()[0]); // ignored
}

TEST(ClientDatabase, close_clears_the_handle)
{
    DemoFiles files;
    auto state = stateFor(ClientFormat::MarloOp, files.marlo());
    RecordingUserInterface ui;
    OpenClientDatabase(state, ui);
    CloseClientDatabase(state, ui);
    EXPECT_FALSE(state.database.isOpen());
    CloseClientDatabase(state, ui);
    EXPECT_TRUE(ui.messages.empty());
}

// Opening a database that lacks fields: the file that gets them is copied first, once per run.
TEST(ClientDatabase, a_file_is_copied_before_its_first_field_is_added_and_the_copy_lacks_it)
{
    struct Case {
        const char* name;
        ClientFormat format;
        const char* copied; // the file that gets the fields
    };
    const Case cases[] = {
        {"Marlo", ClientFormat::MarloOp, "MARL001.MDB"},        {"Tondra", ClientFormat::Tondra, "TONDRA.MDB"},
        {"Dorvan", ClientFormat::Dorvan, "DORV001.MDB"},        {"Galdo", ClientFormat::Galdo, "GALD001.MDB"},
        {"linked Tondra", ClientFormat::Tondra, "MARL001.MDB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFiles files;
        std::string path;
        switch (c.format) {
        case ClientFormat::Tondra:
            path = std::string(c.copied) == "MARL001.MDB" ? files.linkedTondra(files.marlo()) : files.tondra();
            break;
        case ClientFormat::Dorvan:
            path = files.dorvan();
            break;
        case ClientFormat::Galdo:
            path = files.galdo();
            break;
        default:
            path = files.marlo();
            break;
        }
        const auto copied = files.path(c.copied);
        const auto before = test::contentOf(copied);
        const auto opened = test::contentOf(path);
        auto state = stateFor(c.format, path);
        RecordingUserInterface ui;

        ASSERT_TRUE(OpenClientDatabase(state, ui).succeeded);

        ASSERT_EQ(state.backups.copies().size(), 1u);
        const auto& copy = state.backups.copies()[0];
        EXPECT_TRUE(copy.starts_with(files.path("Sicherung_ZELVAN/") + c.copied + ".")) << copy;
        EXPECT_EQ(test::contentOf(copy), before);
        EXPECT_NE(test::contentOf(copied), before) << "fields were added";
        if (path != copied) {
            EXPECT_EQ(test::contentOf(path), opened) << "the linking database is not changed";
        }

        EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
        EXPECT_EQ(state.backups.copies().size(), 1u);
    }
}

TEST(ClientDatabase, a_database_that_has_every_field_is_not_copied_when_opened)
{
    DemoFiles files;
    auto state = stateFor(ClientFormat::Dorvan, files.dorvan({demo::IbanFields::All}));
    RecordingUserInterface ui;
    EXPECT_TRUE(OpenClientDatabase(state, ui).succeeded);
    EXPECT_TRUE(state.backups.copies().empty());
    EXPECT_FALSE(std::filesystem::exists(files.path("Sicherung_ZELVAN")));
}

TEST(ClientDatabase, without_a_copy_no_field_is_added_and_the_open_stops_with_the_reason)
{
    for (const auto format : {ClientFormat::MarloOp, ClientFormat::Galdo}) {
        DemoFiles files;
        const auto path = format == ClientFormat::Galdo ? files.galdo() : files.marlo();
        const auto before = test::contentOf(path);
        files.file("Sicherung_ZELVAN", "eine Datei");
        auto state = stateFor(format, path);
        RecordingUserInterface ui;

        const auto outcome = OpenClientDatabase(state, ui);

        EXPECT_FALSE(outcome.succeeded);
        EXPECT_TRUE(outcome.backupFailed);
        ASSERT_EQ(ui.messages.size(), 1u);
        expectOpenError(ui, 0, path, 3040,
                        "\"" + files.path("Sicherung_ZELVAN") +
                            "\" ist kein Ordner; dort kann keine Sicherungskopie angelegt werden. Ohne "
                            "Sicherungskopie wird die Datenbank nicht geändert.");
        EXPECT_FALSE(state.database.isOpen());
        EXPECT_EQ(test::contentOf(path), before);
    }
}

TEST(ClientDatabase, an_extension_stopped_between_two_fields_leaves_none_of_them)
{
    struct Case {
        ClientFormat format;
        int stopAfter; // fields added before the stop
    };
    const Case cases[] = {{ClientFormat::MarloOp, 1}, {ClientFormat::MarloOp, 6}, {ClientFormat::Galdo, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stopAfter);
        DemoFiles files;
        const auto path = c.format == ClientFormat::Galdo ? files.galdo() : files.marlo();
        const auto before = test::contentOf(path);
        auto state = stateFor(c.format, path);
        RecordingUserInterface ui;
        int added = 0;
        const auto stop = [&] { return ++added == c.stopAfter ? DbError{9, "unterbrochen"} : DbError{}; };

        const auto outcome = OpenClientDatabase(state, ui, stop);

        EXPECT_TRUE(outcome.extensionError);
        EXPECT_TRUE(state.addedFields.empty());
        state.database.close();
        EXPECT_EQ(test::contentOf(path), before);
    }
}

TEST(ClientDatabase, a_field_another_run_adds_before_the_lock_counts_as_present)
{
    DemoFiles files;
    const auto path = files.marlo();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; ALTER TABLE Personenkonten ADD COLUMN BankIBAN VARCHAR(34)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    std::thread commitLater([other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    auto state = stateFor(ClientFormat::MarloOp, path);
    RecordingUserInterface ui;

    const auto outcome = OpenClientDatabase(state, ui);

    commitLater.join();
    sqlite3_close(other);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_FALSE(outcome.extensionError) << outcome.extensionError.description;
    EXPECT_EQ(state.addedFields.size(), 6u);
    EXPECT_EQ(typesOf(state.database, "Personenkonten", kAccountFieldNames), kAccountFieldTypes);
}

} // namespace
} // namespace zelvan
