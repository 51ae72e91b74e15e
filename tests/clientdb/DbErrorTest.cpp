#include "clientdb/DbError.h"

#include <sqlite3.h>

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "ReadOnlyFolder.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

TEST(DbError, extended_codes_and_system_errors_name_the_cause)
{
    struct Case {
        int code;
        const char* detail;
        int systemError;
        int number;
        const char* description;
    };
    const Case cases[] = {
        {SQLITE_READONLY_DIRECTORY, "attempt to write a readonly database", EACCES, 8,
         "Der Ordner der Datenbank ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht angelegt "
         "werden."},
        {SQLITE_READONLY_DBMOVED, "attempt to write a readonly database", 0, 8,
         "Die Datenbankdatei wurde während der Arbeit verschoben oder gelöscht."},
        {SQLITE_FULL, "database or disk is full", ENOSPC, 13, "Der Datenträger ist voll."},
        {SQLITE_IOERR_WRITE, "disk I/O error", ENOSPC, 10,
         "Ein- oder Ausgabefehler beim Zugriff auf die Datenbankdatei: Der Datenträger ist voll (Fehler 28)."},
        {SQLITE_CANTOPEN, "unable to open database file", EROFS, 14,
         "Die Datenbankdatei kann nicht geöffnet werden: Das Dateisystem ist schreibgeschützt (Fehler 30)."},
        {SQLITE_READONLY, "attempt to write a readonly database", 0, 8, "Die Datenbank ist schreibgeschützt."},
        // A lock or an SQL error is no matter of the file system: the error number is not used.
        {SQLITE_BUSY, "database is locked", EACCES, 5, "Die Datenbank ist von einem anderen Programm gesperrt."},
        {SQLITE_ERROR, "no such column: BankBIC", ENOSPC, 1, "SQL-Fehler (Unbekanntes Feld: BankBIC)."},
    };
    for (const auto& c : cases) {
        const auto error = sqliteError(c.code, c.detail, c.systemError);
        EXPECT_EQ(error.number, c.number) << c.code;
        EXPECT_EQ(error.description, c.description) << c.code;
    }
}

TEST(DbError, a_failed_write_names_a_read_only_file_or_folder)
{
    test::TempDir dir;
    const auto path = dir.write("MARL001.MDB", "x");
    const DbError readOnly{8, "Die Datenbank ist schreibgeschützt."};
    EXPECT_EQ(withWriteCause(readOnly, path).description, readOnly.description);
    EXPECT_EQ(withWriteCause({5, "gesperrt"}, path).description, "gesperrt");
    {
        const test::ReadOnlyFile file(path);
        if (::access(path.c_str(), W_OK) == 0)
            GTEST_SKIP() << "the file system lets this user write to read-only files";
        EXPECT_EQ(withWriteCause(readOnly, path).description,
                  "Die Datenbankdatei \"" + path + "\" ist schreibgeschützt.");
    }
    const test::ReadOnlyFolder folder(dir.path().string());
    ASSERT_TRUE(folder.holds());
    const auto error = withWriteCause({14, "Die Datenbankdatei kann nicht geöffnet werden."}, path);
    EXPECT_EQ(error.number, 14);
    EXPECT_EQ(error.description, "Der Ordner \"" + dir.path().string() +
                                     "\" ist schreibgeschützt: dort kann die Journaldatei des Schreibens nicht "
                                     "angelegt werden.");
}

} // namespace
} // namespace zelvan
