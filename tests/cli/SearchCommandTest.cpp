#include "cli/SearchCommand.h"

#include <cerrno>
#include <sstream>

#include <gtest/gtest.h>

#include "support/RefusedFolder.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

struct Result {
    int status;
    std::string out;
    std::string err;
};

Result runSearch(const std::vector<std::string>& args)
{
    std::istringstream in;
    std::ostringstream out, err;
    CommandEnvironment env{in, out, err, "."};
    const int status = runCommandLine(args, env);
    return {status, out.str(), err.str()};
}

TEST(SearchCommand, lists_rows_then_the_caption)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "b");
    dir.write("b/MARL002.MDB", "x");
    dir.write("MARL010.MDB", "x");
    const auto root = dir.path().string();
    std::filesystem::last_write_time(
        dir.path() / "MARL010.MDB",
        std::filesystem::file_time_type::clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(1362467049))));

    const auto result = runSearch({"search", "--format", "1", root});

    EXPECT_EQ(result.status, 0);
    const auto first = "10;" + root + "/;05.03.2013     07:04:09\n";
    EXPECT_TRUE(result.out.starts_with(first)) << result.out;
    EXPECT_NE(result.out.find("\n2;" + root + "/b/;"), std::string::npos);
    EXPECT_TRUE(result.out.ends_with("\n2 gefundene Mandanten in " + root + "\n"));
}

// The copies a conversion leaves in Sicherung_ZELVAN carry a date behind the file name: the search
// (and every run over its finds) never takes them for client databases.
TEST(SearchCommand, copies_of_databases_are_no_finds)
{
    test::TempDir dir;
    dir.write("MARL010.MDB", "x");
    dir.write("DORV010.MDB", "x");
    dir.write("GALD010.MDB", "x");
    std::filesystem::create_directory(dir.path() / "Sicherung_ZELVAN");
    for (const char* copy :
         {"MARL010.MDB.2026-12-07_143015", "MARL010.MDB.2026-12-07_143015_2", "MARL010.MDB.2026-12-07_143015_2.sha256",
          "MARL010.MDB.2026-12-07_143015_3.unfertig", "DORV010.MDB.2026-12-07_143015", "GALD010.MDB.2026-12-07_143015",
          "TONDRA.MDB.2026-12-07_143015"})
        dir.write(std::string("Sicherung_ZELVAN/") + copy, "x");
    const auto root = dir.path().string();
    for (const char* format : {"1", "3", "4"}) {
        const auto result = runSearch({"search", "--format", format, root});
        EXPECT_TRUE(result.out.ends_with("\n1 gefundene Mandanten in " + root + "\n")) << format << result.out;
    }
    const auto tondra = runSearch({"search", "--format", "2", root});
    EXPECT_EQ(tondra.out.find("Sicherung_ZELVAN"), std::string::npos) << tondra.out;
}

TEST(SearchCommand, a_folder_name_with_a_separator_or_a_line_break_is_quoted)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "a;b");
    std::filesystem::create_directory(dir.path() / "zeile\nzwei \"x\"");
    dir.write("a;b/MARL001.MDB", "x");
    dir.write("zeile\nzwei \"x\"/MARL002.MDB", "x");
    const auto root = dir.path().string();

    const auto result = runSearch({"search", "--format", "1", root});

    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("1;\"" + root + "/a;b/\";")) << result.out;
    EXPECT_NE(result.out.find("\n2;\"" + root + "/zeile\nzwei \"\"x\"\"/\";"), std::string::npos) << result.out;
    EXPECT_TRUE(result.out.ends_with("\n2 gefundene Mandanten in " + root + "\n"));
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

    const auto result = runSearch({"search", "--format", "1", root});

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
        {{"search", "--format", "9", "/tmp"}, "Ungültiges Format"},
        {{"search", "--format", "1"}, "Ordner fehlt"},
        {{"search", "--format", "1", "/gibt/es/nicht"}, "wurde nicht gefunden"},
        {{"search", "--format", "1", file}, "ist kein Ordner"},
        {{"search", "--format", "1", "/tmp", "/var"}, "nur ein Ordner"},
    };
    for (const auto& c : cases) {
        const auto result = runSearch(c.args);
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
} // namespace zelvan
