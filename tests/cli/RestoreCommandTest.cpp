#include "cli/RestoreCommand.h"

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "DemoDatabases.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

// A clerk's way back after a conversion of the linked Tondra database: the list names the copy of
// the Marlo file that holds the customers, the copy is put back by its name, and the list then
// shows the copy of the state before it as well.
TEST(RestoreCommand, lists_the_copies_and_puts_one_back_for_a_linked_tondra_database)
{
    const test::TempDir dir;
    ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
    const auto tondra = (dir.path() / demo::kLinkedTondraFile).string();
    const auto marlo = (dir.path() / demo::kMarloFile).string();
    ASSERT_EQ(test::runCommand({"convert", "--format", "2", "--db", tondra}).status, 0);

    const auto listed = test::runCommand({"wiederherstellen", "--format", "2", "--db", tondra});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_NE(listed.err.find("liegen in der Marlo-Datenbank \"" + marlo + "\""), std::string::npos) << listed.err;
    const auto copy = listed.out.substr(0, listed.out.find(';'));
    EXPECT_EQ(fs::path(copy).parent_path(), dir.path() / "Sicherung_ZELVAN");
    EXPECT_TRUE(fs::path(copy).filename().string().starts_with(std::string(demo::kMarloFile) + ".")) << copy;
    EXPECT_NE(listed.out.find(";13;ok\n1 Sicherungskopien von " + marlo + "\n"), std::string::npos) << listed.out;

    const auto restored = test::runCommand(
        {"wiederherstellen", "--format", "2", "--db", tondra, "--kopie", fs::path(copy).filename().string()});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_TRUE(restored.out.starts_with("Die Kopie \"" + copy + "\" ist in die Datenbank \"" + marlo +
                                         "\" zurückgespielt; der Stand davor liegt in \""))
        << restored.out;
    EXPECT_EQ(std::count(restored.out.begin(), restored.out.end(), '\n'), 1);

    const auto again = test::runCommand({"wiederherstellen", "--format", "1", "--db", marlo});
    EXPECT_NE(again.out.find("\n2 Sicherungskopien von " + marlo + "\n"), std::string::npos) << again.out;
}

} // namespace
} // namespace zelvan
