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
}

} // namespace
} // namespace zelvan
