#include "batch/DryRunCopy.h"

#include <unistd.h>

#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "clientdb/DemoFiles.h"
#include "core/HeldFiles.h"
#include "support/TempDir.h"
#include "support/TemporaryFolder.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

TEST(DryRunCopy, only_the_folders_of_killed_dry_runs_of_this_user_go)
{
    test::TempDir temp;
    for (const char* folder : {"zelvan-probelauf-tot", "zelvan-probelauf-lebt", "zelvan-probelauf-neu", "fremd"})
        fs::create_directory(temp.path() / folder);
    temp.write("zelvan-probelauf-tot/MARL001.MDB", "Kopie");
    temp.write("zelvan-probelauf-tot/Probelauf.zelvan-tmp", ""); // a killed run's marker: free
    const int held = createHeldFile((temp.path() / "zelvan-probelauf-lebt/Probelauf.zelvan-tmp").string(), 0600);
    ASSERT_GE(held, 0);
    temp.write("fremd/Probelauf.zelvan-tmp", ""); // reached only through a symbolic link
    fs::create_directory_symlink(temp.path() / "fremd", temp.path() / "zelvan-probelauf-link");

    DryRunCopy::removeLeftovers(temp.path());
    ::close(held);

    // A folder without marker may be one being made.
    EXPECT_EQ(temp.names(), (std::vector<std::string>{"fremd", "zelvan-probelauf-lebt", "zelvan-probelauf-link",
                                                      "zelvan-probelauf-neu"}));
    EXPECT_TRUE(fs::exists(temp.path() / "fremd/Probelauf.zelvan-tmp"));
}

TEST(DryRunCopy, a_database_that_cannot_be_read_is_named)
{
    test::DemoFiles files;
    const auto text = files.file("MARL001.MDB", "keine Datenbank, nur Text, aber lang genug für einen Kopf\n");
    DryRunCopy copy;
    const auto error = copy.make(text, ClientFormat::MarloOp);
    EXPECT_TRUE(
        error.starts_with("Für den Probelauf kann keine Kopie der Datenbank \"" + text + "\" angelegt werden: "))
        << error;
}

// Each dry run clears the leftovers of killed ones as it starts; two starting together must not
// take each other's new folder for one.
TEST(DryRunCopy, dry_runs_starting_together_keep_their_copies)
{
    test::DemoFiles files;
    const auto database = files.marlo();
    test::TemporaryFolder temp;
    const auto makeMany = [&database](std::string& failure) {
        for (int i = 0; i < 300 && failure.empty(); ++i)
            failure = DryRunCopy().make(database, ClientFormat::MarloOp);
    };
    std::string first;
    std::string second;
    std::thread other(makeMany, std::ref(second));
    makeMany(first);
    other.join();
    EXPECT_EQ(first, "");
    EXPECT_EQ(second, "");
    EXPECT_TRUE(temp.empty());
}

} // namespace
} // namespace zelvan
