#include "clientdb/BackupRestore.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include "AlteredDatabases.h"
#include "DemoFiles.h"
#include "clientdb/DatabaseBackup.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using test::bytesOf;
using test::contentOf;
using test::DemoFiles;

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string copyOf(const std::string& database)
{
    const auto made = backupDatabaseFile(database, std::time(nullptr));
    EXPECT_TRUE(made.ok()) << made.error;
    return made.copyPath;
}

RestoreOutcome restore(const std::string& database, const std::string& copy,
                       ClientFormat format = ClientFormat::MarloOp)
{
    return restoreBackupCopy(backupTargetOf(database, format), copy, std::time(nullptr));
}

TEST(BackupRestore, a_copy_put_back_holds_every_row_again_and_the_state_before_has_a_copy_of_its_own)
{
    DemoFiles files;
    const auto database = files.marlo();
    const auto copy = copyOf(database);
    const auto saved = contentOf(database);
    test::executeOn(database, "UPDATE Personenkonten SET BankBLZ = '1'; DELETE FROM Mandant");
    const auto changed = contentOf(database);
    ASSERT_EQ(::chmod(database.c_str(), 0640), 0);

    const auto outcome = restore(database, copy);

    ASSERT_EQ(outcome.status, RestoreStatus::Done) << outcome.message;
    EXPECT_EQ(contentOf(database), saved);
    EXPECT_EQ(contentOf(outcome.copyBefore), changed);
    struct stat status {};
    ASSERT_EQ(::stat(database.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(outcome.message, "Die Kopie \"" + copy + "\" ist in die Datenbank \"" + database +
                                   "\" zurückgespielt; der Stand davor liegt in \"" + outcome.copyBefore + "\".");
}

// The changes another program still holds in the -wal file belong to the state before: they are in
// its copy, and the database, read as any program reads it, holds the copy put back (here an older
// copy without a checksum, which passes SQLite's integrity check).
TEST(BackupRestore, a_database_in_wal_mode_with_changes_not_yet_merged_gets_the_copy_through_its_log)
{
    DemoFiles files;
    const auto database = files.marlo();
    const auto copy = copyOf(database);
    fs::remove(copy + ".sha256");
    auto keeper =
        std::make_unique<test::OtherProgram>(database, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                                                       "UPDATE Personenkonten SET Suchname = 'im Protokoll'");
    ASSERT_TRUE(keeper->ran());
    const auto changed = contentOf(database);

    const auto outcome = restore(database, copy);

    ASSERT_EQ(outcome.status, RestoreStatus::Done) << outcome.message;
    EXPECT_TRUE(outcome.message.ends_with(" Die Kopie hatte keine Prüfsumme; die Prüfung der Datenbank durch SQLite "
                                          "fand keinen Fehler."))
        << outcome.message;
    EXPECT_EQ(contentOf(outcome.copyBefore), changed);
    EXPECT_EQ(contentOf(database), contentOf(copy));
    keeper.reset();
    EXPECT_EQ(contentOf(database), contentOf(copy));
}

// Each copy that is not put back, and a database another program holds: the reason, no copy of
// the state before, and the database byte for byte as it was.
TEST(BackupRestore, a_copy_that_cannot_be_trusted_or_a_database_held_elsewhere_is_refused_and_nothing_changes)
{
    using Spoil = std::function<std::string(DemoFiles&, const std::string& copy)>;
    struct Case {
        const char* name;
        Spoil spoil; // returns the copy to put back
        bool locked;
        RestoreStatus status;
        const char* reason;
    };
    const auto flipInRecord = [](DemoFiles&, const std::string& copy) {
        auto bytes = bytesOf(copy);
        bytes[bytes.find("Klein Werkzeuge")] = 'k';
        writeBytes(copy, bytes);
        return copy;
    };
    // The page type of the second page, where a table's b-tree begins; the copy has no checksum.
    const auto damagePageHeader = [](DemoFiles&, const std::string& copy) {
        auto bytes = bytesOf(copy);
        bytes[4096] = '\x7f';
        writeBytes(copy, bytes);
        fs::remove(copy + ".sha256");
        return copy;
    };
    const auto empty = [](DemoFiles&, const std::string& copy) {
        writeBytes(copy, "");
        return copy;
    };
    const auto dorvan = [](DemoFiles& files, const std::string&) { return copyOf(files.dorvan()); };
    const auto unchanged = [](DemoFiles&, const std::string& copy) { return copy; };
    const Case cases[] = {
        {"a byte flipped inside a record", flipInRecord, false, RestoreStatus::CopyUnusable, "Prüfsumme überein"},
        {"a damaged b-tree page header", damagePageHeader, false, RestoreStatus::CopyUnusable, "Sie ist beschädigt"},
        {"a copy of 0 bytes", empty, false, RestoreStatus::CopyUnusable, "Sie ist leer (0 Bytes)."},
        {"a copy of a Dorvan file", dorvan, false, RestoreStatus::CopyUnusable, "ist keine Datenbank im Format Marlo"},
        {"another connection writes", unchanged, true, RestoreStatus::DatabaseBusy, "von einem anderen Programm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DemoFiles files;
        const auto database = files.marlo();
        const auto copy = c.spoil(files, copyOf(database));
        test::executeOn(database, "UPDATE Personenkonten SET BankBLZ = '1'");
        const auto before = bytesOf(database);
        std::optional<test::LockingConnection> other;
        if (c.locked)
            other.emplace(database);

        const auto outcome = restore(database, copy);

        other.reset();
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_NE(outcome.message.find(c.reason), std::string::npos) << outcome.message;
        EXPECT_EQ(outcome.copyBefore, "");
        EXPECT_EQ(bytesOf(database), before);
    }
}

} // namespace
} // namespace zelvan
