#include "clientdb/BackupLedger.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "DemoFiles.h"
#include "ReadOnlyFile.h"
#include "clientdb/Database.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using test::DemoFiles;

// The copies beside a database, each with its checksum.
std::size_t copiesBeside(const std::string& database)
{
    return test::filesIn(fs::path(database).parent_path() / "Sicherung_ZELVAN").size() / 2;
}

TEST(BackupLedger, a_file_is_copied_once_however_its_path_is_written)
{
    DemoFiles files;
    const auto database = files.marlo();
    fs::create_directory(files.path("unter"));
    fs::create_symlink(database, files.path("verweis.mdb"));
    BackupLedger ledger;

    for (const auto& path :
         {database, files.path("unter/../MARL001.MDB"), files.path("./MARL001.MDB"), files.path("verweis.mdb")}) {
        SCOPED_TRACE(path);
        const auto result = ledger.ensureBackup(path);
        EXPECT_TRUE(result.ok()) << result.error;
        EXPECT_TRUE(ledger.backedUp(path));
    }
    EXPECT_EQ(ledger.copies().size(), 1u);
    EXPECT_EQ(copiesBeside(database), 1u);

    const auto other = files.tondra();
    EXPECT_FALSE(ledger.backedUp(other));
    EXPECT_TRUE(ledger.ensureBackup(other).ok());
    EXPECT_EQ(ledger.copies().size(), 2u);
    EXPECT_EQ(copiesBeside(database), 2u);
}

TEST(BackupLedger, switched_off_it_copies_nothing)
{
    DemoFiles files;
    const auto database = files.marlo();
    BackupLedger ledger;
    ledger.setEnabled(false);
    EXPECT_TRUE(ledger.ensureBackup(database).ok());
    EXPECT_FALSE(ledger.backedUp(database));
    EXPECT_TRUE(ledger.copies().empty());
    EXPECT_FALSE(fs::exists(files.path("Sicherung_ZELVAN")));
}

TEST(BackupLedger, a_failed_copy_is_tried_again_at_the_next_change)
{
    DemoFiles files;
    const auto database = files.marlo();
    files.file("Sicherung_ZELVAN", "eine Datei");
    BackupLedger ledger;
    EXPECT_FALSE(ledger.ensureBackup(database).ok());
    EXPECT_FALSE(ledger.backedUp(database));

    fs::remove(files.path("Sicherung_ZELVAN"));
    EXPECT_TRUE(ledger.ensureBackup(database).ok());
    EXPECT_TRUE(ledger.backedUp(database));
    EXPECT_EQ(copiesBeside(database), 1u);
}

TEST(BackupLedger, a_database_that_can_only_be_read_gets_no_copy)
{
    DemoFiles files;
    const auto database = files.marlo();
    const test::ReadOnlyFile guard(database);
    Database open;
    ASSERT_FALSE(open.open(database));
    if (!open.isReadOnly())
        GTEST_SKIP() << "this machine cannot make a file read-only";
    BackupLedger ledger;
    EXPECT_FALSE(backupBeforeChange(ledger, open));
    EXPECT_TRUE(ledger.copies().empty());

    EXPECT_FALSE(backupBeforeChange(ledger, Database{}));
    EXPECT_TRUE(ledger.copies().empty());
}

} // namespace
} // namespace zelvan
