#include "clientdb/Database.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "DemoFiles.h"

namespace zelvan {
namespace {

using test::DemoFiles;

TEST(Database, a_path_that_names_no_file_is_an_error_and_nothing_is_created)
{
    DemoFiles files;
    const auto missing = files.path("MARL009.MDB");
    const auto folder = files.path("");
    const std::pair<std::string, std::string> cases[] = {
        {missing, "3001 Die Datei " + missing + " ist nicht vorhanden."},
        {folder, "3002 Der Pfad " + folder + " ist ein Ordner und keine Datenbankdatei."},
        {"", "3001 Es ist keine Datenbankdatei angegeben."},
    };
    for (const auto& [path, error] : cases) {
        Database database;
        const auto opened = database.open(path);
        EXPECT_EQ(std::to_string(opened.number) + " " + opened.description, error);
        EXPECT_FALSE(database.isOpen());
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(Database, files_that_are_no_sqlite_database_are_named_as_such)
{
    DemoFiles files;
    struct Case {
        std::string content;
        int number;
        const char* description;
    };
    const std::string jet = std::string("\x00\x01\x00\x00", 4) + "Standard Jet DB" + std::string(200, '\0');
    const std::string ace = std::string("\x00\x01\x00\x00", 4) + "Standard ACE DB" + std::string(200, '\0');
    const char* accessText = "Die Datei ist eine Access-Datenbank. Sie muss erst in eine SQLite-Datenbank "
                             "umgewandelt werden, bevor sie hier bearbeitet werden kann.";
    const char* otherText = "Die Datei ist keine SQLite-Datenbank und damit keine Mandanten-Datenbank.";
    const Case cases[] = {
        {jet, 3003, accessText},
        {ace, 3003, accessText},
        {"OPKontoNr;Suchname\r\n10000;MUELLER\r\n", 3002, otherText},
        {"", 3002, "Die Datei ist leer und keine Datenbank."},
        {std::string("SQLite format 3\0", 16) + "kurz", 11, "Die Datenbankdatei ist beschädigt."},
    };
    for (const auto& c : cases) {
        const auto path = files.file("X.MDB", c.content);
        Database database;
        const auto error = database.open(path);
        EXPECT_EQ(error.number, c.number) << c.content.size();
        EXPECT_EQ(error.description, c.description);
        EXPECT_FALSE(database.isOpen());
        EXPECT_EQ(std::filesystem::file_size(path), c.content.size()) << "the file must stay untouched";
    }
}

TEST(Database, a_file_cut_off_inside_its_last_page_is_damaged_and_stays_as_it_is)
{
    DemoFiles files;
    const auto path = files.marlo({.generatedRows = 500});
    const auto size = std::filesystem::file_size(path);
    for (const auto cut : {size - 100, size - 4096, size / 2}) {
        std::filesystem::resize_file(path, cut);
        Database database;
        const auto error = database.open(path);
        EXPECT_EQ(error.number, 11) << cut;
        EXPECT_TRUE(error.description.starts_with("Die Datenbankdatei ist beschädigt")) << error.description;
        EXPECT_FALSE(database.isOpen());
        EXPECT_EQ(std::filesystem::file_size(path), cut);
    }
}

// The linked Kunden table of a Tondra database, found in any case, names the Marlo file that
// holds its fields; a table that is neither here nor linked is missing.
TEST(Database, a_linked_table_names_its_database_and_has_no_fields_here)
{
    DemoFiles files;
    const auto marlo = files.marlo();
    Database database;
    ASSERT_FALSE(database.open(files.linkedTondra(marlo)));
    const auto linked = database.tableDef("KUNDEN");
    ASSERT_TRUE(linked.ok());
    EXPECT_TRUE(linked.value().isLinked());
    EXPECT_EQ(linked.value().connect, ";DATABASE=" + marlo);
    EXPECT_EQ(database.fields("Kunden").error().number, 3011);
    EXPECT_EQ(database.tableDef("Personenkonten").error().number, 3011);
}

TEST(Database, a_field_is_created_once_in_a_table_that_exists)
{
    DemoFiles files;
    Database database;
    ASSERT_FALSE(database.open(files.marlo()));
    EXPECT_FALSE(database.createField("personenkonten", "BankIBAN", FieldType::Text, 34));
    EXPECT_FALSE(database.setAllowZeroLength("Personenkonten", "BankIBAN", true));

    const auto twice = database.createField("Personenkonten", "bankiban", FieldType::Text, 34);
    EXPECT_EQ(twice.number, 1);
    EXPECT_EQ(twice.description, "SQL-Fehler (Das Feld ist schon vorhanden: bankiban).");
    EXPECT_EQ(database.createField("Gibtsnicht", "BankIBAN", FieldType::Text, 34).number, 3011);
    EXPECT_EQ(database.setAllowZeroLength("Personenkonten", "Gibtsnicht", true).number, 3012);
}

TEST(Database, numbers_read_as_their_digits_and_a_whole_real_without_its_fraction)
{
    DemoFiles files;
    const auto path = files.marlo();
    test::executeOn(path, "CREATE TABLE Zahlen (Wert ANY) STRICT; INSERT INTO Zahlen VALUES (12345), (12345.0), (1.5), "
                          "(-0.0), (1e20), ('0012'), (NULL), (9988776655.0)");
    Database database;
    ASSERT_FALSE(database.open(path));
    const auto recordset = database.openRecordset("SELECT Wert FROM Zahlen");
    ASSERT_TRUE(recordset.ok());
    std::vector<std::string> values;
    for (std::size_t r = 0; r < recordset.value().recordCount(); ++r)
        values.push_back(recordset.value().value(r, 0));
    EXPECT_EQ(values, (std::vector<std::string>{"12345", "12345", "1.5", "0", "1.0e+20", "0012", "", "9988776655"}));
}

TEST(Database, a_strict_table_takes_text_and_integer_fields)
{
    DemoFiles files;
    const auto path = files.marlo();
    test::executeOn(path, "CREATE TABLE Streng (Nr INTEGER PRIMARY KEY, Name TEXT) STRICT");
    Database database;
    ASSERT_FALSE(database.open(path));
    EXPECT_TRUE(database.isStrictTable("streng"));
    EXPECT_FALSE(database.isStrictTable("Personenkonten"));
    EXPECT_FALSE(database.createField("Streng", "BankIBAN", FieldType::Text, 34));
    EXPECT_FALSE(database.createField("Streng", "SEPALastschriftMandatDatum", FieldType::DateTime, 0));
    EXPECT_FALSE(database.createField("Streng", "IBANKonvertierNr", FieldType::Integer16, 0));
    const auto fields = database.fields("Streng");
    ASSERT_TRUE(fields.ok());
    std::vector<std::string> types;
    for (const auto& field : fields.value())
        types.push_back(field.name + " " + field.declaredType);
    EXPECT_EQ(types, (std::vector<std::string>{"Nr INTEGER", "Name TEXT", "BankIBAN TEXT",
                                               "SEPALastschriftMandatDatum TEXT", "IBANKonvertierNr INTEGER"}));
}

TEST(Database, a_failing_statement_reports_number_and_german_description)
{
    DemoFiles files;
    Database database;
    ASSERT_FALSE(database.open(files.marlo()));
    const auto recordset = database.openRecordset("SELECT BankIBAN FROM Personenkonten");
    EXPECT_EQ(recordset.error().number, 1);
    EXPECT_EQ(recordset.error().description, "SQL-Fehler (Unbekanntes Feld: BankIBAN).");
    EXPECT_EQ(database.openRecordset("SELECT * FROM Kunden").error().description,
              "SQL-Fehler (Unbekannte Tabelle: Kunden).");

    Database closed;
    EXPECT_EQ(closed.openRecordset("SELECT 1").error().description, "Es ist keine Datenbank geöffnet.");
}

TEST(Database, closing_with_an_open_transaction_rolls_it_back)
{
    DemoFiles files;
    const auto path = files.marlo();
    Database database;
    ASSERT_FALSE(database.open(path));
    ASSERT_FALSE(database.beginTransaction());
    ASSERT_FALSE(database.execute("DELETE FROM Personenkonten"));
    EXPECT_FALSE(database.close());
    ASSERT_FALSE(database.open(path));
    EXPECT_EQ(database.openRecordset("SELECT * FROM Personenkonten").value().recordCount(), 13u);
}

} // namespace
} // namespace zelvan
