#include "cli/SearchCommand.h"

#include <cerrno>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "support/RefusedFolder.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

// Odd folder names come back quoted; the copies a conversion leaves in Sicherung_ZELVAN carry a date
// behind the file name and are never taken for client databases.
TEST(SearchCommand, lists_rows_then_the_caption_and_passes_over_copies)
{
    test::TempDir dir;
    for (const char* folder : {"a;b", "zeile\nzwei \"x\"", "Sicherung_ZELVAN"})
        std::filesystem::create_directory(dir.path() / folder);
    dir.write("a;b/MARL001.MDB", "x");
    dir.write("zeile\nzwei \"x\"/MARL002.MDB", "x");
    dir.write("MARL010.MDB", "x");
    for (const char* copy : {"MARL010.MDB.2026-12-07_143015", "MARL010.MDB.2026-12-07_143015_2.sha256",
                             "MARL010.MDB.2026-12-07_143015_3.unfertig"})
        dir.write(std::string("Sicherung_ZELVAN/") + copy, "x");
    const auto root = dir.path().string();
    std::filesystem::last_write_time(
        dir.path() / "MARL010.MDB",
        std::filesystem::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1362467049))));

    const auto result = test::runCommand({"search", "--format", "1", root});

    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("10;" + root + "/;05.03.2013     07:04:09\n1;\"" + root + "/a;b/\";"))
        << result.out;
    EXPECT_NE(result.out.find("\n2;\"" + root + "/zeile\nzwei \"\"x\"\"/\";"), std::string::npos) << result.out;
    EXPECT_TRUE(result.out.ends_with("\n3 gefundene Mandanten in " + root + "\n")) << result.out;
}

TEST(SearchCommand, names_every_folder_it_could_not_read_and_exits_with_1)
{
    test::TempDir dir;
    std::filesystem::create_directories(dir.path() / "k" / "gesperrt");
    dir.write("k/gesperrt/MARL001.MDB", "x");
    dir.write("MARL002.MDB", "x");
    std::filesystem::create_directory_symlink(dir.path(), dir.path() / "k" / "zurueck");
    const auto root = dir.path().string();
    const test::RefusedFolder refused(root + "/k/gesperrt", EACCES);

    const auto result = test::runCommand({"search", "--format", "1", root});

    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.ends_with("\n1 gefundene Mandanten in " + root + "\n")) << result.out;
    EXPECT_EQ(result.err, "Ordner nicht lesbar: " + root +
                              "/k/gesperrt (keine Berechtigung)\n1 Verknüpfung auf Ordner nicht verfolgt\n");
}

TEST(SearchCommand, refuses_bad_arguments_and_missing_folders)
{
    test::TempDir dir;
    const auto file = dir.write("datei.txt", "x");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"search", "/tmp"}, "Das Format fehlt"},
        {{"search", "--format", "1"}, "Ordner fehlt"},
        {{"search", "--format", "1", "/gibt/es/nicht"}, "wurde nicht gefunden"},
        {{"search", "--format", "1", file}, "ist kein Ordner"},
        {{"search", "--format", "1", "/tmp", "/var"}, "nur ein Ordner"},
    };
    for (const auto& c : cases) {
        const auto result = test::runCommand(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
} // namespace zelvan
