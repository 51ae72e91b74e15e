#include "clientdb/TableRecordset.h"

#include <gtest/gtest.h>

#include <vector>

#include "DemoFiles.h"
#include "clientdb/Database.h"

namespace zelvan {
namespace {

using test::DemoFiles;

DbValue number(std::int64_t value)
{
    return DbValue{value};
}

DbValue text(const char* value)
{
    return DbValue{std::string(value)};
}

TEST(TableRecordset, primary_key_of_one_and_of_two_fields)
{
    DemoFiles files;
    Database database;
    ASSERT_FALSE(database.open(files.galdo({.ibanFields = true, .bankBic = true})));

    auto personal = database.openTable("Personal").value();
    ASSERT_FALSE(personal.setIndex("PrimaryKey"));
    EXPECT_EQ(personal.keyFields(), std::vector<std::string>{"Nr"});

    auto deductions = database.openTable("festabzug").value();
    EXPECT_EQ(deductions.tableName(), "Festabzug");
    ASSERT_FALSE(deductions.setIndex("primarykey"));
    EXPECT_EQ(deductions.keyFields(), (std::vector<std::string>{"PersonalNr", "Zeile"}));
    const std::vector<DbValue> key{number(1), text("2")}; // a number given as text still matches
    ASSERT_FALSE(deductions.seek("=", key));
    EXPECT_FALSE(deductions.noMatch());
    EXPECT_EQ(textOf(deductions.value("Bezeichnung").value()), "Bausparvertrag");
    EXPECT_EQ(textOf(deductions.value("konto-nr").value()), "8888000");

    const std::vector<DbValue> absent{number(1), number(4)};
    ASSERT_FALSE(deductions.seek("=", absent));
    EXPECT_TRUE(deductions.noMatch());
    EXPECT_EQ(deductions.value("Bezeichnung").error().number, 3021);
    EXPECT_EQ(deductions.edit().description, "Kein aktueller Datensatz.");
}

TEST(TableRecordset, fields_by_position)
{
    DemoFiles files;
    Database database;
    ASSERT_FALSE(database.open(files.galdo({.ibanFields = true, .bankBic = true})));
    auto personal = database.openTable("Personal").value();
    ASSERT_FALSE(personal.setIndex("PrimaryKey"));
    const auto account = personal.fieldPosition("konto-nr");
    EXPECT_EQ(personal.fieldPosition("Gibtsnicht"), std::string::npos);
    EXPECT_TRUE(isNull(personal.valueAt(account))); // no current record yet
    const std::vector<DbValue> key{number(2)};
    ASSERT_FALSE(personal.seek("=", key));
    EXPECT_EQ(textOf(personal.valueAt(account)), "7654324");
    EXPECT_EQ(textOf(personal.valueAt(personal.fieldPosition("Nr"))), "2");
    EXPECT_TRUE(isNull(personal.valueAt(std::string::npos)));
}

TEST(TableRecordset, edit_and_update_store_single_fields_with_bound_values)
{
    DemoFiles files;
    const auto path = files.marlo({.ibanFields = demo::IbanFields::All});
    Database database;
    ASSERT_FALSE(database.open(path));
    auto accounts = database.openTable("Personenkonten").value();
    ASSERT_FALSE(accounts.setIndex("PrimaryKey"));
    const std::vector<DbValue> key{number(10010)};
    ASSERT_FALSE(accounts.seek("=", key));
    ASSERT_FALSE(accounts.edit());
    const std::string hostile = "1-x'); DROP TABLE Personenkonten; --";
    ASSERT_FALSE(accounts.setValue("IBANKonvertierHinweis", hostile));
    ASSERT_FALSE(accounts.setValue("IBANKonvertierNr", number(1)));
    ASSERT_FALSE(accounts.setValue("BankBIC", DbValue{}));
    ASSERT_FALSE(accounts.setValue("IBANKonvertierNr", number(2))); // the last value set counts
    ASSERT_FALSE(accounts.update());
    EXPECT_EQ(textOf(accounts.value("IBANKonvertierNr").value()), "2");

    const auto stored = database.openRecordset("SELECT IBANKonvertierHinweis, IBANKonvertierNr, BankBIC, Suchname "
                                               "FROM Personenkonten WHERE OPKontoNr = 10010");
    ASSERT_TRUE(stored.ok());
    EXPECT_EQ(stored.value().value(0, 0), hostile);
    EXPECT_EQ(stored.value().value(0, 1), "2");
    EXPECT_TRUE(stored.value().isNull(0, 2));
    EXPECT_EQ(stored.value().value(0, 3), "SCHMIDT");
    EXPECT_EQ(database.openRecordset("SELECT * FROM Personenkonten").value().recordCount(), 13u);
}

TEST(TableRecordset, mistakes_are_errors)
{
    DemoFiles files;
    Database database;
    ASSERT_FALSE(database.open(files.marlo({.ibanFields = demo::IbanFields::All})));
    auto accounts = database.openTable("Personenkonten").value();
    ASSERT_FALSE(accounts.setIndex("PrimaryKey"));
    const std::vector<DbValue> twoKeys{number(1), number(2)};
    EXPECT_EQ(accounts.seek("=", twoKeys).description,
              "Der Index der Tabelle Personenkonten hat 1 Schlüsselfelder, gesucht wurde mit 2.");
    const std::vector<DbValue> key{number(10000)};
    EXPECT_TRUE(accounts.seek(">", key));
    ASSERT_FALSE(accounts.seek("=", key));
    EXPECT_EQ(accounts.setValue("BankIBAN", text("x")).number, 3022);
    EXPECT_EQ(accounts.update().number, 3022);
    ASSERT_FALSE(accounts.edit());
    EXPECT_EQ(accounts.setValue("Gibtsnicht", text("x")).description,
              "Das Feld Gibtsnicht ist in der Tabelle Personenkonten nicht vorhanden.");
    ASSERT_FALSE(accounts.setValue("OPKontoNr", number(10010))); // taken by another row
    EXPECT_EQ(accounts.update().number, 19);
    accounts.close();
    EXPECT_EQ(accounts.seek("=", key).description, "Für die Tabelle Personenkonten ist kein Index gesetzt.");
    EXPECT_EQ(database.openTable("Gibtsnicht").error().number, 3011);
}

} // namespace
} // namespace zelvan
