#include "DemoDatabases.h"

#include <gtest/gtest.h>

#include "clientdb/WorkingSetLoader.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

using test::bytesOf;

constexpr const char* kDemoFiles[] = {demo::kMarloFile, demo::kTondraFile, demo::kLinkedTondraFile, demo::kDorvanFile,
                                      demo::kGaldoFile};

TEST(DemoDatabases, the_same_call_writes_the_same_files)
{
    const test::TempDir dir;
    ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
    std::vector<std::string> first;
    for (const char* name : kDemoFiles)
        first.push_back(bytesOf(dir.path() / name));
    ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_FALSE(first[i].empty());
        EXPECT_EQ(bytesOf(dir.path() / kDemoFiles[i]), first[i]) << kDemoFiles[i];
    }
}

TEST(DemoDatabases, every_format_of_the_demo_set_loads)
{
    const test::TempDir dir;
    ASSERT_EQ(demo::writeDemoDatabases(dir.path()), "");
    struct Case {
        const char* file;
        ClientFormat format;
        bool fixedDeductions;
        std::size_t rows;
        std::size_t messages;
    };
    const Case cases[] = {
        {demo::kMarloFile, ClientFormat::MarloOp, false, 9, 0},
        {demo::kTondraFile, ClientFormat::Tondra, false, 4, 0},
        {demo::kLinkedTondraFile, ClientFormat::Tondra, false, 9, 1},
        {demo::kDorvanFile, ClientFormat::Dorvan, false, 4, 0},
        {demo::kGaldoFile, ClientFormat::Galdo, false, 8, 0},
        {demo::kGaldoFile, ClientFormat::Galdo, true, 6, 0},
    };
    for (const auto& c : cases) {
        ProgramState state;
        state.format = c.format;
        state.databasePath = (dir.path() / c.file).string();
        state.fixedDeductions = c.fixedDeductions;
        WorkingSetArray rows;
        Recordset recordset;
        test::RecordingUserInterface ui;
        LoadWorkingSet(state, rows, recordset, {}, ui);
        EXPECT_EQ(rows.size(), c.rows) << c.file;
        EXPECT_EQ(ui.messages.size(), c.messages) << c.file;
    }
}

TEST(DemoDatabases, made_up_rows_follow_the_samples)
{
    const test::TempDir dir;
    const auto file = dir.path() / "MARL001.MDB";
    ASSERT_EQ(demo::writeMarloDatabase(file, {.ibanFields = demo::IbanFields::All, .generatedRows = 1000}), "");
    ProgramState state;
    state.format = ClientFormat::MarloOp;
    state.databasePath = file.string();
    WorkingSetArray rows;
    Recordset recordset;
    SilentUserInterface ui;
    LoadWorkingSet(state, rows, recordset, {}, ui);
    ASSERT_EQ(rows.size(), 1009u);
    EXPECT_EQ(rows.back()[AccountColumn::Key], "100999");
    for (std::size_t i = 9; i < rows.size(); ++i) {
        const auto& account = rows[i][AccountColumn::Account];
        EXPECT_TRUE(account.size() >= 5 && account.size() <= 10 && account.front() != '0') << account;
        EXPECT_EQ(rows[i][AccountColumn::Blz].size(), 8u);
    }
}

TEST(DemoDatabases, an_unwritable_target_is_reported)
{
    const test::TempDir dir;
    const auto blocker = dir.write("datei", "x");
    EXPECT_NE(demo::writeDemoDatabases(std::filesystem::path(blocker) / "unter"), "");
}

TEST(DemoDatabases, an_office_puts_four_clients_of_each_format_into_one_folder)
{
    const test::TempDir dir;
    ASSERT_EQ(demo::writeOfficeDatabases(dir.path(), 5), "");
    std::vector<std::string> first;
    for (const char* prefix : {"DORV", "GALD", "MARL", "TONDRA"}) {
        for (int client = 1; client <= 4; ++client)
            first.push_back(std::string(prefix) + "00" + std::to_string(client) + ".MDB");
    }
    EXPECT_EQ(test::filesIn(dir.path() / "Gruppe01"), first);
    EXPECT_EQ(test::filesIn(dir.path() / "Gruppe02"),
              (std::vector<std::string>{"DORV005.MDB", "GALD005.MDB", "MARL005.MDB", "TONDRA005.MDB"}));
    EXPECT_EQ(test::filesIn(dir.path()), (std::vector<std::string>{"Gruppe01", "Gruppe02"}));
}

TEST(DemoDatabases, office_group_folders_hold_four_clients_each)
{
    const std::pair<int, const char*> cases[] = {{1, "Gruppe01"},  {4, "Gruppe01"},  {5, "Gruppe02"},
                                                 {36, "Gruppe09"}, {37, "Gruppe10"}, {347, "Gruppe87"}};
    for (const auto& [client, folder] : cases)
        EXPECT_EQ(demo::officeGroupFolder(client), folder) << client;
}

} // namespace
} // namespace zelvan
