#include "clientdb/ClientFormats.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(ClientFormats, format_names_and_lines)
{
    EXPECT_EQ(FormatFileLine(ClientFormat::MarloOp, "/d/MARL001.MDB"), "Format: Marlo  Datei: /d/MARL001.MDB");
    EXPECT_EQ(FormatFileLine(ClientFormat::Tondra, "T"), "Format: Tondra  Datei: T");
    EXPECT_EQ(FormatFileLine(ClientFormat::Dorvan, "D"), "Format: Dorvan  Datei: D");
    EXPECT_EQ(FormatFileLine(ClientFormat::Galdo, "G"), "Format: Galdo  Datei: G");
    EXPECT_EQ(FormatFileLine(ClientFormat::None, "X"), "Format: Galdo  Datei: X");
    EXPECT_EQ(formatInfo(ClientFormat::Dorvan).writeBackIndex, "OPKontoNr");
    EXPECT_EQ(formatInfo(ClientFormat::Tondra).mainTable, "Kunden");
}

TEST(ClientFormats, only_the_account_tables_get_sepa_fields)
{
    int sepa = 0;
    for (const auto& field : accountTableFields())
        sepa += field.name.starts_with("SEPA") ? 1 : 0;
    EXPECT_EQ(sepa, 3);
    for (const auto& field : galdoPersonFields())
        EXPECT_FALSE(field.name.starts_with("SEPA"));
    for (const auto& field : galdoBankFields())
        EXPECT_FALSE(field.name.starts_with("SEPA"));
}

TEST(ClientFormats, sizes_of_the_added_text_fields_by_name)
{
    EXPECT_EQ(addedTextFieldSize("BankIBAN"), 34);
    EXPECT_EQ(addedTextFieldSize("bankbic"), 11);
    EXPECT_EQ(addedTextFieldSize("SEPALastschriftMandatReferenz"), 35);
    EXPECT_EQ(addedTextFieldSize("SEPALastschriftMandatArt"), 50);
    EXPECT_EQ(addedTextFieldSize("IBANKonvertierHinweis"), 250);
    EXPECT_EQ(addedTextFieldSize("IBANKonvertierNr"), 0);
    EXPECT_EQ(addedTextFieldSize("SEPALastschriftMandatDatum"), 0);
    EXPECT_EQ(addedTextFieldSize("BankBLZ"), 0);
}

} // namespace
} // namespace zelvan
