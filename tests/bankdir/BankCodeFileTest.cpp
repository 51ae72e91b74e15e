#include "bankdir/BankCodeFile.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "bankdir/BankFileCheck.h"
#include "support/BankFileBuilder.h"
#include "support/DamagedBankFiles.h"
#include "support/RecordingUserInterface.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

using test::BankLine;

TEST(BankCodeFile, load_reports_count_and_path_in_the_status_line)
{
    test::TempDir dir;
    BankLine a, b;
    b.blz = "20000000";
    dir.write(kBankCodeFileName, test::formatFile({a, b}));
    test::RecordingUserInterface ui;
    BankDirectory directory;

    loadBankDirectory(dir.path().string(), directory, ui);

    const auto path = (dir.path() / kBankCodeFileName).string();
    ASSERT_EQ(ui.statusTexts.size(), 2u);
    EXPECT_EQ(ui.statusTexts[0], "BLZ-Bestand der Bundesbank wird eingelesen...");
    EXPECT_EQ(ui.statusTexts[1], "BLZ-Bestand eingelesen.  Anzahl BLZ: 2  BLZ-Datei: " + path);
    EXPECT_EQ(ui.eventTurns, 1);
    EXPECT_TRUE(ui.wasBusy);
    EXPECT_EQ(ui.busyDepth, 0);
}

TEST(BankCodeFile, a_missing_file_in_the_program_folder_says_where_the_bundesbank_file_belongs)
{
    test::TempDir dir;
    test::RecordingUserInterface ui;
    BankDirectory directory;

    const auto result = loadBankDirectory(dir.path().string(), directory, ui);

    const auto folder = dir.path().string() + "/";
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.missing);
    EXPECT_EQ(result.error, "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"" + folder +
                                "ZELVANBLZ4.txt\" wurde nicht gefunden. Die BLZ-Datei der Bundesbank mit IBAN-Regeln "
                                "gehört als \"ZELVANBLZ4.txt\" in den Programmordner \"" +
                                folder + "\".");
    EXPECT_EQ(ui.statusTexts.back(), "BLZ-Bestand eingelesen.  Anzahl BLZ: 0  BLZ-Datei: " + folder + "ZELVANBLZ4.txt");
}

// Each damaged copy is refused as a whole: the message names the file, the first bad line and
// what is wrong, and not one of its banks is used. The length check alone catches the UTF-8 copy,
// the byte-order mark, the cut lines and the shifted lines.
TEST(BankCodeFile, damaged_copies_are_refused_with_the_first_bad_line)
{
    for (const auto& damaged :
         test::damagedBankFiles(ZELVAN_SHARED_BANKFILE, ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt")) {
        SCOPED_TRACE(damaged.name);
        test::TempDir dir;
        const auto path = dir.write("blz.txt", damaged.content);
        BankDirectory directory;

        const auto result = loadBankCodeFile(path, directory);

        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.missing);
        EXPECT_EQ(result.error, "Die BLZ-Datei \"" + path + "\" wird nicht verwendet. " + damaged.problem);
        EXPECT_EQ(directory.Count(), 0);
        EXPECT_EQ(directory.Find("50060400"), 0);
    }
}

TEST(BankCodeFile, unreadable_files_leave_the_directory_empty_and_say_why)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "ordner");
    struct Case {
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {(dir.path() / "fehlt.txt").string(), "wurde nicht gefunden"},
        {(dir.path() / "ordner").string(), "ist ein Ordner"},
    };
    for (const auto& c : cases) {
        BankDirectory directory;
        directory.begin();
        directory.line(test::formatLine(BankLine{}));
        const auto result = loadBankCodeFile(c.path, directory);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
        EXPECT_EQ(directory.Count(), 0);
    }
}

TEST(BankCodeFile, the_bundled_sample_file_loads)
{
    BankDirectory directory;
    const auto result = loadBankCodeFile(ZELVAN_SOURCE_DIR "/data/ZELVANBLZ4.txt", directory);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.sample);
    EXPECT_GE(directory.Count(), 300);
    // The marker line is a branch line: it adds no bank.
    EXPECT_EQ(directory.Find(std::string(kSampleMarkerBlz)), 0);
    const int row = directory.Find("50060400");
    ASSERT_GT(row, 0);
    EXPECT_EQ(directory.Field(row, 5), "000000");
}

TEST(BankCodeFile, the_real_size_file_loads_every_bank_code)
{
    if (!std::filesystem::exists(ZELVAN_SHARED_BANKFILE))
        GTEST_SKIP() << "no shared bank-code file";
    BankDirectory directory;
    const auto result = loadBankCodeFile(ZELVAN_SHARED_BANKFILE, directory);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.sample);
    EXPECT_EQ(directory.Count(), 3571);
}

} // namespace
} // namespace zelvan
