#include "batch/DryRunCopy.h"

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "DemoDatabases.h"
#include "clientdb/DemoFiles.h"
#include "core/HeldFiles.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

std::string linkOf(const std::string& file)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const auto rows = test::rowsOf(db, "SELECT Connect FROM LinkedTables WHERE Name = 'Kunden'");
    sqlite3_close(db);
    return rows.empty() ? "" : rows.front();
}

TEST(DryRunCopy, the_copy_holds_the_database_and_goes_with_its_folder)
{
    test::DemoFiles files;
    const auto marlo = files.marlo();
    const auto before = test::contentOf(marlo);
    fs::path folder;
    {
        DryRunCopy copy;
        ASSERT_EQ(copy.make(marlo, ClientFormat::MarloOp), "");
        EXPECT_NE(copy.copyPath(), marlo);
        EXPECT_EQ(fs::path(copy.copyPath()).filename(), "MARL001.MDB");
        EXPECT_EQ(test::contentOf(copy.copyPath()), before);
        EXPECT_EQ(copy.originalOf(copy.copyPath()), marlo);
        EXPECT_EQ(copy.originalOf("/anders/MARL002.MDB"), "/anders/MARL002.MDB");
        folder = fs::path(copy.copyPath()).parent_path();
        test::executeOn(copy.copyPath(), "UPDATE Personenkonten SET BankBLZ = '1'");
    }
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(test::contentOf(marlo), before);
}

TEST(DryRunCopy, only_the_folders_of_killed_dry_runs_of_this_user_go)
{
    test::TempDir temp;
    for (const char* folder : {"zelvan-probelauf-tot", "zelvan-probelauf-lebt", "zelvan-probelauf-neu", "fremd"})
        fs::create_directory(temp.path() / folder);
    temp.write("zelvan-probelauf-tot/MARL001.MDB", "Kopie");
    temp.write("zelvan-probelauf-tot/Probelauf.zelvan-tmp", ""); // a killed run's marker: free
    const int held = createHeldFile((temp.path() / "zelvan-probelauf-lebt/Probelauf.zelvan-tmp").string(), 0600);
    ASSERT_GE(held, 0);
    temp.write("fremd/Probelauf.zelvan-tmp", ""); // reached only through a symbolic link
    fs::create_directory_symlink(temp.path() / "fremd", temp.path() / "zelvan-probelauf-link");

    DryRunCopy::removeLeftovers(temp.path());
    ::close(held);

    // A folder without marker may be one being made.
    EXPECT_EQ(temp.names(), (std::vector<std::string>{"fremd", "zelvan-probelauf-lebt", "zelvan-probelauf-link",
                                                      "zelvan-probelauf-neu"}));
    EXPECT_TRUE(fs::exists(temp.path() / "fremd/Probelauf.zelvan-tmp"));
}

TEST(DryRunCopy, a_linked_tondra_copy_names_the_copy_of_its_marlo_database)
{
    test::DemoFiles files;
    const auto marlo = files.marlo();
    const auto tondra = files.linkedTondra(marlo);
    DryRunCopy copy;
    ASSERT_EQ(copy.make(tondra, ClientFormat::Tondra), "");

    const auto link = linkOf(copy.copyPath());
    const auto prefix = std::string("3:;DATABASE=");
    ASSERT_TRUE(link.starts_with(prefix)) << link;
    const auto marloCopy = link.substr(prefix.size(), link.size() - prefix.size() - 1);
    EXPECT_EQ(marloCopy, (fs::path(copy.copyPath()).parent_path() / "verknuepft" / "MARL001.MDB").string());
    EXPECT_EQ(copy.originalOf(marloCopy), marlo);
    EXPECT_EQ(test::contentOf(marloCopy), test::contentOf(marlo));
    // The original keeps its link.
    EXPECT_EQ(linkOf(tondra), "3:;DATABASE=" + marlo + "|");
}

TEST(DryRunCopy, a_database_in_wal_mode_is_copied_with_the_changes_not_yet_in_its_file)
{
    test::DemoFiles files;
    const auto marlo = files.marlo();
    test::executeOn(marlo, "PRAGMA journal_mode=WAL");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(marlo.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "PRAGMA wal_autocheckpoint=0; INSERT INTO Personenkonten (OPKontoNr, Suchname) "
                           "VALUES (77777, 'NEU')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    {
        DryRunCopy copy;
        ASSERT_EQ(copy.make(marlo, ClientFormat::MarloOp), "");
        sqlite3* db = nullptr;
        sqlite3_open_v2(copy.copyPath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        EXPECT_EQ(test::rowsOf(db, "SELECT Suchname FROM Personenkonten WHERE OPKontoNr = 77777"),
                  std::vector<std::string>{"3:NEU|"});
        EXPECT_EQ(test::rowsOf(db, "PRAGMA journal_mode"), std::vector<std::string>{"3:delete|"});
        sqlite3_close(db);
    }
    sqlite3_close(other);
}

TEST(DryRunCopy, a_database_that_cannot_be_read_is_named)
{
    test::DemoFiles files;
    const auto text = files.file("MARL001.MDB", "keine Datenbank, nur Text, aber lang genug für einen Kopf\n");
    DryRunCopy copy;
    const auto error = copy.make(text, ClientFormat::MarloOp);
    EXPECT_TRUE(
        error.starts_with("Für den Probelauf kann keine Kopie der Datenbank \"" + text + "\" angelegt werden: "))
        << error;
}

} // namespace
} // namespace zelvan
