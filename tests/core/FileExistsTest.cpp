#include "core/FileExists.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace zelvan {
namespace {

class FileExistsTest : public testing::Test {
  protected:
    void SetUp() override
    {
        m_dir.write("MARL001.MDB", "x");
        m_dir.write(".versteckt.mdb", "x");
        std::filesystem::create_directory(m_dir.path() / "ordner.mdb");
    }
    std::string path(const std::string& name) const { return (m_dir.path() / name).string(); }

    test::TempDir m_dir;
};

TEST_F(FileExistsTest, answers_for_plain_paths)
{
    EXPECT_TRUE(FileExists(path("MARL001.MDB")));
    EXPECT_FALSE(FileExists(path("MARL002.MDB")));
    EXPECT_FALSE(FileExists(path("ordner.mdb")));     // a folder
    EXPECT_FALSE(FileExists(path(".versteckt.mdb"))); // hidden
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileExistsTest, a_wildcard_path_counts_when_a_visible_file_matches)
{
    EXPECT_TRUE(FileExists(path("MARL*.MDB")));
    EXPECT_TRUE(FileExists(path("MARL00?.MDB")));
    EXPECT_FALSE(FileExists(path("DORV*.MDB")));
    EXPECT_FALSE(FileExists(path("*.mdb"))); // only the hidden file and the folder match
    EXPECT_FALSE(FileExists(path("gibtsnicht/*.MDB")));
}

} // namespace
} // namespace zelvan
