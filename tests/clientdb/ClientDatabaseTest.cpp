#include "clientdb/ClientDatabase.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <thread>

#include "DemoFiles.h"
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

// The declared types of the IBAN fields of a table, "-" for a missing one.
std::string ibanFieldTypes(const Database& database, const std::string& table)
{
    std::string types;
    for (const auto& type : typesOf(database, table, kAccountFieldNames))
        types += (types.empty() ? "" : " ") + (type.empty() ? "-" : type);
    return types;
}

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

// The IBAN fields each format gets ("-": none), in the order of the account fields; a second open
// adds nothing. Galdo gets no SEPA fields and, without Personal, none at all.
TEST(ClientDatabase, each_format_gets_its_missing_fields_once)
{
    DemoFiles files;
    const auto withoutPersonal = files.galdo({}, "GALD002.MDB");
    test::executeOn(withoutPersonal, "DROP TABLE Personal");
    const std::string all = "VARCHAR(34) VARCHAR(11) VARCHAR(35) DATETIME VARCHAR(50) VARCHAR(250) SMALLINT";
    const std::string person = "VARCHAR(34) - - - - VARCHAR(250) SMALLINT";
    const std::string none = "- - - - - - -";
    struct Case {
        const char* name;
        ClientFormat format;
        std::string path;
        const char* table;  // the one the state names after the open
        const char* tables; // whose fields are looked at
        std::string types;  // of each of them, joined by " | "
    };
    const Case cases[] = {
        {"Marlo", ClientFormat::MarloOp, files.marlo(), "Personenkonten", "Personenkonten", all},
        {"Dorvan", ClientFormat::Dorvan, files.dorvan(), "Personenkonten", "Personenkonten", all},
        {"Tondra with all but the hint number", ClientFormat::Tondra,
         files.tondra({.ibanFields = demo::IbanFields::AllButHintNumber}), "Kunden", "Kunden", all},
        {"no format: the remembered table", ClientFormat::None, files.tondra({}, "TONDRA2.MDB"), "Kunden", "Kunden",
         all},
        {"Galdo", ClientFormat::Galdo, files.galdo(), "Banken", "Personal Festabzug Banken",
         person + " | " + person + " | - VARCHAR(11) - - - - -"},
        {"Galdo without Personal", ClientFormat::Galdo, withoutPersonal, "Banken", "Festabzug Banken",
         none + " | " + none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto state = stateFor(c.format, c.path);
        if (c.format == ClientFormat::None)
            state.tableName = c.table;
        RecordingUserInterface ui;
        OpenClientDatabase(state, ui);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(state.tableName, c.table);
        std::string types;
        std::istringstream tables(c.tables);
        for (std::string table; tables >> table;)
            types += (types.empty() ? "" : " | ") + ibanFieldTypes(state.database, table);
        EXPECT_EQ(types, c.types);
        const auto opened = test::contentOf(c.path);
        OpenClientDatabase(state, ui);
        EXPECT_EQ(test::contentOf(c.path), opened);
    }
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
