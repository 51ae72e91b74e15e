#pragma once

// The demo databases changed as other tools leave them: numbers in the bank columns, a STRICT
// table, WAL mode held open by another program, a read-only folder, a small full file system.

#include <fcntl.h>
#include <linux/fs.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ReadOnlyFolder.h"

namespace zelvan::test {

// Holds an exclusive lock on a database, as another program writing to it would.
class LockingConnection {
public:
    explicit LockingConnection(const std::string& path)
    {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(m_db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~LockingConnection()
    {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    LockingConnection(const LockingConnection&) = delete;
    LockingConnection& operator=(const LockingConnection&) = delete;

private:
    sqlite3* m_db = nullptr;
};

// Another program that has a database open: a process of its own (connections of one process
// share the -shm and its locks) that runs `sql` and keeps its connection until the object goes.
class OtherProgram {
public:
    OtherProgram(const std::string& path, const std::string& sql)
    {
        int ready[2] = {-1, -1};
        if (::pipe(ready) != 0 || ::pipe(m_release) != 0 || (m_child = ::fork()) < 0)
            return;
        if (m_child == 0) {
            ::close(m_release[1]); // the release comes when the test closes its end
            sqlite3* db = nullptr;
            sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
            const char ran = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK ? 1 : 0;
            char byte = 0;
            if (::write(ready[1], &ran, 1) == 1)
                (void)::read(m_release[0], &byte, 1);
            sqlite3_close(db);
            ::_exit(0);
        }
        char ran = 0;
        m_ran = ::read(ready[0], &ran, 1) == 1 && ran == 1;
        ::close(ready[0]);
        ::close(ready[1]);
    }
    ~OtherProgram()
    {
        ::close(m_release[1]);
        ::close(m_release[0]);
        if (m_child > 0)
            ::waitpid(m_child, nullptr, 0);
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;
    bool ran() const { return m_ran; }

private:
    int m_release[2] = {-1, -1};
    pid_t m_child = -1;
    bool m_ran = false;
};

// Runs SQL on a file directly; returns SQLite's message, empty when it ran.
inline std::string runSql(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string error = rc == SQLITE_OK ? "" : (message ? message : "error");
    sqlite3_free(message);
    sqlite3_close(db);
    return error;
}

// How the bank columns of the Marlo table are retyped.
enum class NumberCopy {
    Integer, // INTEGER columns: digit texts become numbers (leading zeros go), the rest stay text
    Real,    // REAL columns: digit texts become whole REAL numbers
    Strict,  // a STRICT table with INTEGER columns: what is no number becomes null
};

// Rebuilds Personenkonten of a demo Marlo database (without IBAN fields) with BankBLZ and
// BankKontoNr as numbers.
inline std::string retypeMarlo(const std::string& file, NumberCopy copy)
{
    const std::string type = copy == NumberCopy::Real ? "REAL" : "INTEGER";
    const bool strict = copy == NumberCopy::Strict;
    const auto value = [&](const std::string& column) {
        return strict ? "CASE WHEN " + column + " GLOB '[0-9]*' AND " + column + " NOT GLOB '*[^0-9]*' THEN CAST(" +
                            column + " AS INTEGER) END"
                      : column;
    };
    return runSql(file, "CREATE TABLE Neu (OPKontoNr INTEGER NOT NULL PRIMARY KEY, Suchname TEXT, Name1 TEXT, "
                        "Ort TEXT, BankBLZ " +
                            type + ", BankKontoNr " + type + ", BankName TEXT)" + (strict ? " STRICT" : "") +
                            ";INSERT INTO Neu SELECT OPKontoNr, Suchname, Name1, Ort, " + value("BankBLZ") + ", " +
                            value("BankKontoNr") +
                            ", BankName FROM Personenkonten;"
                            "DROP TABLE Personenkonten; ALTER TABLE Neu RENAME TO "
                            "Personenkonten;");
}

// A small file system of its own (tmpfs), where the machine lets this user mount one; fill()
// then takes its free space.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const std::filesystem::path& folder, const char* size = "size=512k") : m_path(folder)
    {
        std::filesystem::create_directories(m_path);
        m_mounted = ::mount("tmpfs", m_path.c_str(), "tmpfs", 0, size) == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
    }
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    const std::filesystem::path& path() const { return m_path; }
    // Leaves `room` bytes free.
    void fill(std::uintmax_t room = 0) const
    {
        {
            std::ofstream filler(m_path / "Fueller.bin", std::ios::binary);
            const std::string block(4096, 'x');
            while (filler.write(block.data(), static_cast<std::streamsize>(block.size())))
                ;
        }
        std::filesystem::resize_file(m_path / "Fueller.bin", std::filesystem::file_size(m_path / "Fueller.bin") - room);
    }

private:
    std::filesystem::path m_path;
    bool m_mounted = false;
};

} // namespace zelvan::test
