#include "clientdb/TextFileWriter.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/HeldFiles.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

mode_t modeOf(const std::string& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

TEST(TextFileWriter, a_summary_gets_the_permissions_all_its_databases_share_less_the_umask)
{
    struct Case {
        std::vector<mode_t> databases;
        mode_t umask;
        mode_t summary;
    };
    const Case cases[] = {
        {{0644, 0664}, 0022, 0644}, {{0644, 0640}, 0022, 0640}, {{0660, 0606}, 0000, 0600},
        {{0664}, 0077, 0600},       {{}, 0027, 0640},           {{0640, 0}, 0022, 0600}, // 0: a database that is gone
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.databases));
        test::TempDir dir;
        std::vector<std::string> databases;
        for (const mode_t mode : c.databases) {
            databases.push_back(dir.write("MARL00" + std::to_string(databases.size()) + ".MDB", ""));
            if (mode == 0)
                std::filesystem::remove(databases.back());
            else
                ASSERT_EQ(::chmod(databases.back().c_str(), mode), 0);
        }
        const auto summary = (dir.path() / "Sammelprotokoll_ZELVAN.csv").string();
        const mode_t previous = ::umask(c.umask);
        const auto written = WriteUtf8TextFile("Mandant", summary, databases);
        ::umask(previous);
        ASSERT_EQ(written.errorNumber, 0) << written.description;
        EXPECT_EQ(modeOf(summary), c.summary);
    }
}

TEST(TextFileWriter, a_write_removes_the_temporary_files_no_run_holds_and_leaves_none_of_its_own)
{
    test::TempDir dir;
    const int held = createHeldFile((dir.path() / "Protokoll_ZELVAN.txt.77.zelvan-tmp").string(), 0600);
    ASSERT_GE(held, 0);
    dir.write("Protokoll_ZELVAN.txt.78.zelvan-tmp", "halb"); // a killed run's
    dir.write("Protokoll_ZELVAN.txt.a1B2c3", "eigen");       // a user's, named as temporary files once were
    const auto written = WriteTextFile("Text", (dir.path() / "Protokoll_ZELVAN.txt").string());
    ::close(held);
    ASSERT_EQ(written.errorNumber, 0) << written.description;
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Protokoll_ZELVAN.txt", "Protokoll_ZELVAN.txt.77.zelvan-tmp",
                                                     "Protokoll_ZELVAN.txt.a1B2c3"}));
}

} // namespace
} // namespace zelvan
