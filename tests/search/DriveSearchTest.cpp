#include "search/DriveSearch.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/RecordingUserInterface.h"
#include "support/RefusedFolder.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

// A tree with client files, look-alikes, a link back to the root, an unreadable folder and lost+found.
class DriveSearchTree : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root() / "Daten" / "Unter");
        fs::create_directories(root() / "gesperrt");
        fs::create_directories(root() / "lost+found");
        m_dir.write("lost+found/MARL055.MDB", "x");
        for (const char* name : {"MARL001.MDB", "marl123.mdb", "TONDRA.MDB", "notiz.txt"})
            m_dir.write(name, "x");
        for (const char* name :
             {"MARL007.MDB", "MARL012A.MDB", "marl001kopie.mdb", "MARX001.MDB", "DORV002.MDB", "TONDRA_ALT.MDB"})
            m_dir.write("Daten/" + std::string(name), "x");
        m_dir.write("gesperrt/MARL099.MDB", "x");
        fs::create_directory_symlink(root(), root() / "Daten" / "Unter" / "zurueck");
    }

    const fs::path& root() const { return m_dir.path(); }
    std::string folder(const std::string& sub = "") const { return (root() / sub).string(); }

    static std::vector<std::string> clientsOf(const DriveSearch& search)
    {
        std::vector<std::string> rows;
        for (const auto& found : search.FoundDatabases())
            rows.push_back(found.client + " " + found.fileName);
        return rows;
    }

    test::TempDir m_dir;
    test::RefusedFolder m_refused{folder("gesperrt"), EACCES};
    test::RecordingUserInterface m_ui;
};

TEST_F(DriveSearchTree, finds_client_files_sorted_by_folder_then_number)
{
    DriveSearch search(ClientFormat::MarloOp, nullptr, m_ui);
    const int count = search.run(root().string());

    EXPECT_EQ(clientsOf(search),
              (std::vector<std::string>{"1 MARL001.MDB", "123 marl123.mdb", "7 MARL007.MDB", "12 MARL012A.MDB"}));
    EXPECT_EQ(count, 4);
    ASSERT_EQ(search.unreadableFolders().size(), 1u);
    EXPECT_EQ(unreadableFolderLine(search.unreadableFolders()[0]),
              "Ordner nicht lesbar: " + folder("gesperrt") + " (keine Berechtigung)");
    const auto& found = search.FoundDatabases();
    EXPECT_EQ(found[0].folder, root().string() + "/");
    EXPECT_EQ(found[2].folder, folder("Daten") + "/");
    // The file that was found is the one chosen, extra characters and letter case included.
    EXPECT_EQ(found[3].path(), folder("Daten") + "/MARL012A.MDB");
    EXPECT_EQ(found[0].modified.size(), std::string("05.03.2013     07:04:09").size());
    EXPECT_FALSE(search.running());
}

TEST_F(DriveSearchTree, yields_once_per_folder_and_follows_no_link)
{
    DriveSearch search(ClientFormat::Dorvan, nullptr, m_ui);
    EXPECT_EQ(search.run(root().string()), 1);
    // root, Daten, Unter, gesperrt: the link back to the root is counted, not walked; lost+found is passed over.
    EXPECT_EQ(m_ui.eventTurns, 4);
    EXPECT_EQ(search.folderLinksSkipped(), 1);
    EXPECT_EQ(search.FoundDatabases()[0].client, "2");
}

// A file system mounted below the folder, as a share from a file server: a folder search enters it
// unless it is a virtual one, a drive search stays on its own file system.
TEST_F(DriveSearchTree, a_folder_search_enters_mounted_file_systems_except_virtual_ones)
{
    struct Case {
        const char* type;
        int folderFinds;
        int folderTurns; // root, Daten, Unter, gesperrt and, when entered, Jahr2013
    };
    const Case cases[] = {{"tmpfs", 5, 5}, {"proc", 4, 4}, {"sysfs", 4, 4}};
    const auto at = root() / "Jahr2013";
    fs::create_directory(at);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        if (::mount(c.type, at.c_str(), c.type, 0, nullptr) != 0)
            GTEST_SKIP() << "no " << c.type << " can be mounted here: " << std::strerror(errno);
        struct Unmount {
            const fs::path& at;
            ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
        } unmount{at};
        std::ofstream(at / "MARL013.MDB") << "x"; // refused by the virtual ones
        DriveSearch search(ClientFormat::MarloOp, nullptr, m_ui);
        m_ui.eventTurns = 0;
        EXPECT_EQ(search.run(root().string()), c.folderFinds);
        EXPECT_EQ(m_ui.eventTurns, c.folderTurns);
        EXPECT_EQ(search.run(root().string(), SearchScope::Drive), 4);
    }
}

TEST_F(DriveSearchTree, tondra_files_are_listed_by_name_when_the_test_says_so)
{
    std::vector<std::string> asked;
    DriveSearch search(
        ClientFormat::Tondra,
        [&](const std::string& name, const std::string&) {
            asked.push_back(name);
            return name == "TONDRA.MDB";
        },
        m_ui);
    EXPECT_EQ(search.run(root().string()), 1);
    EXPECT_EQ(search.FoundDatabases()[0].client, "TONDRA.MDB");
    EXPECT_EQ(search.FoundDatabases()[0].modified.size(), std::string("05.03.2013 07:04:09").size());
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (std::vector<std::string>{"TONDRA.MDB", "TONDRA_ALT.MDB"}));
}

// Stops the search from inside the event loop, as the dialog's buttons do.
class StoppingUserInterface final : public UserInterface {
public:
    void setStatusText(std::string_view) override {}
    void setBusy(bool) override {}
    MessageAnswer showMessage(const MessageRequest& request) override { return defaultAnswer(request); }
    void processEvents() override
    {
        if (++turns == stopAtTurn)
            search->stop();
    }
    DriveSearch* search = nullptr;
    int turns = 0;
    int stopAtTurn = 0;
};

TEST_F(DriveSearchTree, stop_ends_the_walk_and_a_new_run_starts_afresh)
{
    StoppingUserInterface ui;
    DriveSearch search(ClientFormat::MarloOp, nullptr, ui);
    ui.search = &search;
    ui.stopAtTurn = 1;
    EXPECT_EQ(search.run(root().string()), 0);
    EXPECT_TRUE(search.FoundDatabases().empty());
    EXPECT_FALSE(search.running());

    ui.stopAtTurn = 0;
    EXPECT_GE(search.run(root().string()), 4);
}

TEST(DriveSearch, a_missing_folder_finds_nothing)
{
    test::RecordingUserInterface ui;
    DriveSearch search(ClientFormat::MarloOp, nullptr, ui);
    EXPECT_EQ(search.run("/gibt/es/nicht"), 0);
    EXPECT_TRUE(search.FoundDatabases().empty());
}

TEST(DriveSearch, caption_names_count_and_place)
{
    EXPECT_EQ(searchCaption(3, "c: [SYSTEM]"), "3 gefundene Mandanten in c: [SYSTEM]");
    EXPECT_EQ(searchCaption(0, "/home"), "0 gefundene Mandanten in /home");
}

} // namespace
} // namespace zelvan
