// A save killed at any moment leaves the database whole, with none or all of its changes.
// The convert command runs as a process on 100,000 Marlo rows and is killed with SIGKILL at
// twenty moments spread over its save; after each kill the database is checked.

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "DemoDatabases.h"
#include "clientdb/ClientDatabase.h"
#include "clientdb/DemoFiles.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRows = 100000;
constexpr int kKills = 20;
constexpr auto kPollInterval = std::chrono::microseconds(200);
constexpr auto kRunLimit = std::chrono::seconds(60);

// The state of a database after a kill: its integrity check, its rows with IBAN or hint, every row.
struct DatabaseState {
    std::vector<std::string> integrity;
    std::vector<std::string> rowsWithIban;
    std::vector<std::string> rows;
};

DatabaseState inspect(const std::string& path)
{
    sqlite3* db = nullptr;
    // Opened writable, as the program opens it: a journal left by the killed save is played back.
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    DatabaseState state{
        test::rowsOf(db, "PRAGMA integrity_check"),
        test::rowsOf(db, "SELECT count(*) FROM Personenkonten WHERE BankIBAN IS NOT NULL OR IBANKonvertierNr IS NOT "
                         "NULL"),
        test::rowsOf(db, "SELECT * FROM Personenkonten ORDER BY OPKontoNr")};
    sqlite3_close(db);
    return state;
}

// The convert command on one database, as a child process with its output discarded; killed
// when it goes while still running.
class ConvertProcess {
public:
    explicit ConvertProcess(const std::string& database) : m_pid(::fork())
    {
        if (m_pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::execl(ZELVAN_EXECUTABLE, ZELVAN_EXECUTABLE, "convert", "--format", "1", "--db", database.c_str(),
                    "--bankfile", ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~ConvertProcess() { wait(true); }
    ConvertProcess(const ConvertProcess&) = delete;
    ConvertProcess& operator=(const ConvertProcess&) = delete;

    bool started() const { return m_pid > 0; }
    // Whether it has ended (then it is reaped).
    bool ended()
    {
        int status = 0;
        if (!m_reaped && ::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_reaped = true;
            m_status = status;
        }
        return m_reaped;
    }
    // Its wait status, once it has ended (killed first with `kill`).
    int wait(bool kill = false)
    {
        if (m_pid > 0 && !m_reaped) {
            if (kill)
                ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &m_status, 0);
            m_reaped = true;
        }
        return m_status;
    }

private:
    pid_t m_pid;
    bool m_reaped = false;
    int m_status = 0;
};

// Waits until `condition` holds or the process has ended; false when it ended first.
bool waitFor(ConvertProcess& process, const std::function<bool()>& condition)
{
    const auto limit = Clock::now() + kRunLimit;
    while (!condition()) {
        if (process.ended() || Clock::now() > limit)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

TEST(SaveCrash, a_killed_save_leaves_none_or_all_of_its_changes)
{
    const test::TempDir dir;
    const auto snapshot = (dir.path() / "snapshot.mdb").string();
    ASSERT_EQ(demo::writeMarloDatabase(snapshot, {demo::IbanFields::None, kRows - 9}), "");
    {
        // The fields are added once here, so that the runs below write nothing but their save.
        ProgramState state;
        state.format = ClientFormat::MarloOp;
        state.databasePath = snapshot;
        test::RecordingUserInterface ui;
        ASSERT_TRUE(OpenClientDatabase(state, ui).succeeded);
        CloseClientDatabase(state, ui);
    }
    // A fresh copy of the snapshot to run on.
    const auto database = (dir.path() / "MARL001.MDB").string();
    const auto journal = database + "-journal";
    const auto copy = [&] {
        fs::remove(journal);
        fs::copy_file(snapshot, database, fs::copy_options::overwrite_existing);
    };
    const std::vector<std::string> ok{"3:ok|"}, none{"1:0|"}, all{"1:" + std::to_string(kRows) + "|"};
    const DatabaseState before = inspect(snapshot);
    ASSERT_EQ(before.integrity, ok);
    ASSERT_EQ(before.rowsWithIban, none);

    // A full run: the state after the save, and how long the save's journal lives.
    copy();
    auto journalExists = [&] { return fs::exists(journal); };
    Clock::duration saveTime{};
    {
        ConvertProcess process(database);
        ASSERT_TRUE(process.started());
        ASSERT_TRUE(waitFor(process, journalExists)) << "the save wrote no journal";
        const auto saveStart = Clock::now();
        waitFor(process, [&] { return !journalExists(); });
        saveTime = Clock::now() - saveStart;
        const int status = process.wait();
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    const DatabaseState after = inspect(database);
    ASSERT_EQ(after.integrity, ok);
    ASSERT_EQ(after.rowsWithIban, all);
    ASSERT_TRUE(after.rows != before.rows);

    // Kills from just after the save's first write to near its end.
    int killedMidSave = 0;
    for (int i = 0; i < kKills; ++i) {
        SCOPED_TRACE("kill " + std::to_string(i));
        copy();
        {
            ConvertProcess process(database);
            ASSERT_TRUE(process.started());
            if (waitFor(process, journalExists))
                std::this_thread::sleep_for(saveTime * i / kKills);
            process.wait(true);
        }
        if (fs::exists(journal))
            ++killedMidSave;
        const DatabaseState state = inspect(database);
        EXPECT_EQ(state.integrity, ok);
        EXPECT_TRUE(state.rowsWithIban == none || state.rowsWithIban == all)
            << testing::PrintToString(state.rowsWithIban);
        EXPECT_TRUE(state.rows == before.rows || state.rows == after.rows);
    }
    std::cout << "save " << std::chrono::duration_cast<std::chrono::milliseconds>(saveTime).count() << " ms; "
              << killedMidSave << " of " << kKills << " kills fell inside the save\n";
    // Most kills must really interrupt the save, or the test proves little.
    EXPECT_GE(killedMidSave, kKills / 2);
}

} // namespace
} // namespace zelvan
