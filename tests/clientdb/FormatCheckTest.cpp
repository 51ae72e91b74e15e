#include "clientdb/FormatCheck.h"

#include <gtest/gtest.h>

#include "DemoFiles.h"

namespace zelvan {
namespace {

using test::DemoFiles;

constexpr const char* kTableMissing = " ist nicht vorhanden.\rDaher können keine Konvertierungsdaten ermittelt "
                                      "werden.\r\rBitte wählen Sie eine andere Datenbank zum Umwandeln aus.";

TEST(FormatCheck, each_format_against_each_demo_database)
{
    DemoFiles files;
    const auto marlo = files.marlo();
    const std::string databases[] = {marlo, files.tondra(), files.linkedTondra(marlo), files.dorvan(), files.galdo()};
    struct Case {
        std::size_t database;
        ClientFormat format;
        bool fixedDeductions;
        std::string message; // empty: the database fits
    };
    const Case cases[] = {
        {0, ClientFormat::MarloOp, false, ""},
        {1, ClientFormat::Tondra, false, ""},
        {2, ClientFormat::Tondra, false, ""},
        {3, ClientFormat::Dorvan, false, ""},
        {4, ClientFormat::Galdo, false, ""},
        {4, ClientFormat::Galdo, true, ""},
        {0, ClientFormat::Tondra, false, std::string("Die Tabelle Kunden") + kTableMissing},
        {0, ClientFormat::Dorvan, false,
         "Die Datenbank passt nicht zum Format Dorvan:\rDer Index OPKontoNr ist in der Tabelle Personenkonten nicht "
         "vorhanden."},
        {0, ClientFormat::Galdo, false, std::string("Die Tabelle Personal") + kTableMissing},
        {3, ClientFormat::MarloOp, false,
         "Die Datenbank passt nicht zum Format Marlo:\rDer Schlüssel der Tabelle Personenkonten ist ID statt "
         "OPKontoNr."},
        {4, ClientFormat::MarloOp, false, std::string("Die Tabelle Personenkonten") + kTableMissing},
        {1, ClientFormat::Galdo, true, std::string("Die Tabelle Personal") + kTableMissing},
    };
    for (const auto& c : cases) {
        Database database;
        ASSERT_FALSE(database.open(databases[c.database]));
        const auto error = checkFormatTables(database, c.format, c.fixedDeductions);
        EXPECT_EQ(error.description, c.message) << databases[c.database] << " " << static_cast<int>(c.format);
    }
}

TEST(FormatCheck, galdo_needs_festabzug_only_for_fixed_deductions)
{
    DemoFiles files;
    const auto path = files.galdo();
    test::executeOn(path, "DROP TABLE Festabzug");
    Database database;
    ASSERT_FALSE(database.open(path));
    EXPECT_FALSE(checkFormatTables(database, ClientFormat::Galdo, false));
    EXPECT_EQ(checkFormatTables(database, ClientFormat::Galdo, true).description,
              std::string("Die Tabelle Festabzug") + kTableMissing);
}

} // namespace
} // namespace zelvan
