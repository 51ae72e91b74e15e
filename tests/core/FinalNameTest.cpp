#include "core/FinalName.h"

#include <cerrno>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;
using test::bytesOf;

// Each step, as the first one tried (as where the file system refuses the ones before it), gives a
// free name and refuses a taken one, leaving both files as they were.
TEST(FinalName, every_step_takes_a_free_name_and_never_replaces_a_file)
{
    for (const auto step :
         {FinalNameStep::RenameNoReplace, FinalNameStep::LinkThenUnlink, FinalNameStep::CheckedRename}) {
        SCOPED_TRACE(static_cast<int>(step));
        const test::TempDir dir;
        const auto unfinished = dir.write("kopie.unfertig", "neu");
        const auto taken = dir.write("kopie", "alt");
        EXPECT_EQ(moveWithoutReplacing(unfinished, taken, step), EEXIST);
        EXPECT_EQ(bytesOf(taken), "alt");
        EXPECT_EQ(bytesOf(unfinished), "neu");

        const auto free = (dir.path() / "kopie_2").string();
        EXPECT_EQ(moveWithoutReplacing(unfinished, free, step), 0);
        EXPECT_EQ(bytesOf(free), "neu");
        EXPECT_FALSE(fs::exists(unfinished));
    }
}

} // namespace
} // namespace zelvan
