#include "core/PathRoutines.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(PathRoutines, with_backslash_appends_the_separator_the_path_uses)
{
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Programme\\Zelvan", "C:\\Programme\\Zelvan\\"},
        {"C:\\Programme\\Zelvan\\", "C:\\Programme\\Zelvan\\"},
        {"/opt/zelvan", "/opt/zelvan/"},
        {"/opt/zelvan/", "/opt/zelvan/"},
        {"zelvan", "zelvan/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithBackslash(c.path), c.expected) << c.path;
}

TEST(PathRoutines, folder_of_path_keeps_the_trailing_separator)
{
    EXPECT_EQ(FolderOfPath("C:\\Daten\\MARL001.MDB"), "C:\\Daten\\");
    EXPECT_EQ(FolderOfPath("/home/buero/MARL001.MDB"), "/home/buero/");
    EXPECT_EQ(FolderOfPath("MARL001.MDB"), "");
}

} // namespace
} // namespace zelvan
