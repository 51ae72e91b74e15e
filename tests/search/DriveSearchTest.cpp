#include "search/DriveSearch.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

// A tree with client files, look-alikes, a link back to the root and an unreadable folder.
class DriveSearchTree : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root() / "Daten" / "Unter");
        fs::create_directories(root() / "gesperrt");
        for (const char* name : {"MARL001.MDB", "marl123.mdb", "TONDRA.MDB", "notiz.txt"})
            m_dir.write(name, "x");
        for (const char* name : {"MARL007.MDB", "MARL012A.MDB", "marl001kopie.mdb", "MARX001.MDB", "DORV002.MDB",
                                 "TONDRA_ALT.MDB"})
            m_dir.write("Daten/" + std::string(name), "x");
        m_dir.write("gesperrt/MARL099.MDB", "x");
        fs::create_directory_symlink(root(), root() / "Daten" / "Unter" / "zurueck");
        fs::permissions(root() / "gesperrt", fs::perms::none);
    }
    void TearDown() override { fs::permissions(root() / "gesperrt", fs::perms::owner_all); }

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
    test::RecordingUserInterface m_ui;
};

TEST_F(DriveSearchTree, finds_client_files_sorted_by_folder_then_number)
{
    DriveSearch search(ClientFormat::MarloOp, nullptr, m_ui);
    const int count = search.run(root().string());

    const bool root_can_read_anything = ::geteuid() == 0;
    std::vector<std::string> expected{"1 MARL001.MDB", "123 marl123.mdb", "7 MARL007.MDB", "12 MARL012A.MDB"};
    if (root_can_read_anything)
        expected.push_back("99 MARL099.MDB");
    EXPECT_EQ(clientsOf(search), expected);
    EXPECT_EQ(count, static_cast<int>(expected.size()));
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
    // root, Daten, Unter, gesperrt: the link back to the root is not walked.
    EXPECT_EQ(m_ui.eventTurns, 4);
    EXPECT_EQ(search.FoundDatabases()[0].client, "2");
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

TEST(DriveSearch, numbers_sort_as_numbers_within_a_folder)
{
    test::TempDir dir;
    for (const char* name : {"GALD123.MDB", "GALD007.MDB", "GALD100.MDB", "GALD020.MDB"})
        dir.write(name, "x");
    test::RecordingUserInterface ui;
    DriveSearch search(ClientFormat::Galdo, nullptr, ui);
    search.run(dir.path().string());
    std::vector<std::string> clients;
    for (const auto& found : search.FoundDatabases())
        clients.push_back(found.client);
    EXPECT_EQ(clients, (std::vector<std::string>{"7", "20", "100", "123"}));
}

TEST(DriveSearch, caption_names_count_and_place)
{
    EXPECT_EQ(searchCaption(3, "c: [SYSTEM]"), "3 gefundene Mandanten in c: [SYSTEM]");
    EXPECT_EQ(searchCaption(0, "/home"), "0 gefundene Mandanten in /home");
}

} // namespace
} // namespace zelvan
