#include "search/InvoicingDatabase.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace zelvan {
namespace {

void createDatabase(const std::string& path, const std::vector<std::string>& statements)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    for (const auto& sql : statements)
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

const std::vector<std::string> kSixTables{
    "CREATE TABLE Artikel(Nr)", "CREATE TABLE VORGANG(Nr)", "CREATE TABLE Vorgangszeilen(Nr)",
    "CREATE TABLE RechnungsBuch(Nr)", "CREATE TABLE Preisgruppen(Nr)", "CREATE TABLE mengenpreise(Nr)",
};

TEST(InvoicingDatabase, needs_all_seven_tables_in_any_letter_case)
{
    test::TempDir dir;
    auto all = kSixTables;
    all.push_back("CREATE TABLE Kunden(Nr)");
    createDatabase((dir.path() / "TONDRA.MDB").string(), all);
    createDatabase((dir.path() / "TONDRA_ALT.MDB").string(), kSixTables);
    auto linked = kSixTables;
    linked.push_back("CREATE TABLE LinkedTables(Name TEXT PRIMARY KEY, Connect TEXT NOT NULL)");
    linked.push_back("INSERT INTO LinkedTables VALUES('Kunden', ';DATABASE=/daten/MARL001.MDB')");
    createDatabase((dir.path() / "TONDRA_LINK.MDB").string(), linked);
    dir.write("TONDRA_TEXT.MDB", "Das ist keine Datenbank.\n");
    dir.write("TONDRA_ACCESS.MDB", std::string("\0\x01\0\0Standard Jet DB\0", 20));

    const auto folder = dir.path().string();
    EXPECT_TRUE(IsInvoicingDatabase("TONDRA.MDB", folder));
    EXPECT_FALSE(IsInvoicingDatabase("TONDRA_ALT.MDB", folder));
    EXPECT_TRUE(IsInvoicingDatabase("TONDRA_LINK.MDB", folder));
    EXPECT_FALSE(IsInvoicingDatabase("TONDRA_TEXT.MDB", folder));
    EXPECT_FALSE(IsInvoicingDatabase("TONDRA_ACCESS.MDB", folder));
    EXPECT_FALSE(IsInvoicingDatabase("FEHLT.MDB", folder));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "FEHLT.MDB")); // looking created nothing
}

} // namespace
} // namespace zelvan
