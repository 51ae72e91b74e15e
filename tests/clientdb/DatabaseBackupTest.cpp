#include "clientdb/DatabaseBackup.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include <gtest/gtest.h>

#include "AlteredDatabases.h"
#include "DemoFiles.h"
#include "ReadOnlyFolder.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using test::contentOf;
using test::DemoFiles;
using test::filesIn;

// 7 December 2026, 14:30:15 local time.
std::time_t exampleTime()
{
    std::tm local{};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;
    local.tm_mday = 7;
    local.tm_hour = 14;
    local.tm_min = 30;
    local.tm_sec = 15;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

std::string folderOf(const std::string& database)
{
    return (fs::path(database).parent_path() / "Sicherung_ZELVAN").string();
}

mode_t modeOf(const std::string& path)
{
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 0777;
}

TEST(DatabaseBackup, copy_and_folder_get_the_permissions_of_the_file_whatever_the_umask)
{
    struct Case {
        mode_t file;
        mode_t umask;
        mode_t folder;
    };
    // The folder lets in whoever may read or write the file.
    const Case cases[] = {
        {0600, 0022, 0700}, {0640, 0077, 0750}, {0644, 0022, 0755}, {0660, 0002, 0770},
        {0666, 0000, 0777}, {0400, 0022, 0700}, {0604, 0077, 0705},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.file));
        DemoFiles files;
        const auto database = files.marlo();
        ASSERT_EQ(::chmod(database.c_str(), c.file), 0);
        const mode_t previous = ::umask(c.umask);
        const auto result = backupDatabaseFile(database, exampleTime());
        ::umask(previous);
        ASSERT_TRUE(result.ok()) << result.error;
        EXPECT_EQ(modeOf(result.copyPath), c.file);
        EXPECT_EQ(modeOf(folderOf(database)), c.folder);
    }
}

TEST(DatabaseBackup, the_copy_gets_the_group_of_the_file)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can give the file a group of its choice";
    DemoFiles files;
    const auto database = files.marlo();
    constexpr gid_t kGroup = 4321;
    ASSERT_EQ(::chown(database.c_str(), 1234, kGroup), 0);
    ASSERT_EQ(::chmod(database.c_str(), 0640), 0);
    const auto result = backupDatabaseFile(database, exampleTime());
    ASSERT_TRUE(result.ok()) << result.error;
    struct stat copy {};
    ASSERT_EQ(::stat(result.copyPath.c_str(), &copy), 0);
    EXPECT_EQ(copy.st_uid, 1234u);
    EXPECT_EQ(copy.st_gid, kGroup);
    EXPECT_EQ(copy.st_mode & 0777, 0640u);
    struct stat folder {};
    ASSERT_EQ(::stat(folderOf(database).c_str(), &folder), 0);
    EXPECT_EQ(folder.st_gid, kGroup);
    EXPECT_EQ(folder.st_mode & 0777, 0750u);
}

TEST(DatabaseBackup, a_database_in_wal_mode_is_copied_with_what_its_log_holds)
{
    DemoFiles files;
    const auto database = files.marlo();
    // A second connection keeps the log from being folded into the file when the first closes.
    const test::OtherProgram keeper(database, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                                              "UPDATE Personenkonten SET Suchname = 'im Protokoll'");
    ASSERT_TRUE(keeper.ran());
    const auto expected = contentOf(database);

    const auto result = backupDatabaseFile(database, exampleTime());

    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(contentOf(result.copyPath), expected);
}

// Each failure: its German reason, and no copy or half copy left behind.
TEST(DatabaseBackup, a_copy_that_cannot_be_made_says_why_and_leaves_nothing)
{
    DemoFiles files;
    const auto database = files.marlo();
    const auto folder = folderOf(database);

    const auto missing = files.path("FEHLT.MDB");
    EXPECT_EQ(backupDatabaseFile(missing, exampleTime()).error,
              "Die Datenbank \"" + missing +
                  "\" kann für die Sicherungskopie nicht gelesen werden: Die Datei oder der "
                  "Ordner ist nicht vorhanden (Fehler 2).");

    files.file("Sicherung_ZELVAN", "eine Datei");
    EXPECT_EQ(backupDatabaseFile(database, exampleTime()).error,
              "\"" + folder + "\" ist kein Ordner; dort kann keine Sicherungskopie angelegt werden.");
    fs::remove(folder);

    fs::create_directory(folder);
    {
        const test::ReadOnlyFolder guard(folder);
        if (!guard.holds())
            GTEST_SKIP() << "this machine cannot make a folder unwritable";
        const auto result = backupDatabaseFile(database, exampleTime());
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.copyPath, "");
        EXPECT_EQ(result.error, "In den Ordner \"" + folder + "\" kann keine Sicherungskopie geschrieben werden: " +
                                    test::ReadOnlyFolder::refusal() + ".");
    }
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{});
}

// A copy broken off while it is written (here by a limit on file sizes, as a full disk would)
// leaves neither the copy nor the folder made for it.
TEST(DatabaseBackup, a_copy_broken_off_leaves_no_file_behind)
{
    DemoFiles files;
    const auto database = files.marlo({demo::IbanFields::None, 2000});
    ASSERT_GT(fs::file_size(database), 64u * 1024u);
    const auto before = contentOf(database);

    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = 16 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto result = backupDatabaseFile(database, exampleTime());
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result.error, "Die Sicherungskopie in \"" + folderOf(database) +
                                "\" kann nicht geschrieben werden: Ein- oder Ausgabefehler beim Zugriff auf die "
                                "Datenbankdatei.");
    EXPECT_FALSE(fs::exists(folderOf(database)));
    EXPECT_EQ(contentOf(database), before);
}

// A run killed while it writes the copy (here by the signal of a limit on file sizes) leaves only
// its held file, under no final name; the next copy into the folder removes it once no run holds it.
TEST(DatabaseBackup, a_killed_copy_leaves_no_final_name_and_its_leftover_goes_once_no_run_holds_it)
{
    DemoFiles files;
    const auto database = files.marlo({demo::IbanFields::None, 2000});
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit none{0, 0};
        const rlimit limited{16 * 1024, 16 * 1024};
        ::setrlimit(RLIMIT_CORE, &none);
        std::signal(SIGXFSZ, SIG_DFL);
        ::setrlimit(RLIMIT_FSIZE, &limited);
        (void)backupDatabaseFile(database, exampleTime());
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::string leftover = "MARL001.MDB.2026-12-07_143015.unfertig";
    ASSERT_EQ(filesIn(folderOf(database)), std::vector<std::string>{leftover});
    ASSERT_GT(fs::file_size(folderOf(database) + "/" + leftover), 0u);

    const int held = ::open((folderOf(database) + "/" + leftover).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_TRUE(backupDatabaseFile(database, exampleTime()).ok());
    ::close(held);
    EXPECT_EQ(filesIn(folderOf(database)).size(), 3u) << "held: it stays";
    EXPECT_TRUE(backupDatabaseFile(database, exampleTime()).ok());
    EXPECT_EQ(filesIn(folderOf(database)),
              (std::vector<std::string>{"MARL001.MDB.2026-12-07_143015", "MARL001.MDB.2026-12-07_143015.sha256",
                                        "MARL001.MDB.2026-12-07_143015_2", "MARL001.MDB.2026-12-07_143015_2.sha256"}));
}

} // namespace
} // namespace zelvan
