#include "cli/ConvertFolderCommand.h"

#include <cerrno>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "DemoDatabases.h"
#include "clientdb/DemoFiles.h"
#include "support/RefusedFolder.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

namespace fs = std::filesystem;

using Result = test::CommandResult;

Result runConvert(std::vector<std::string> args)
{
    args.insert(args.begin(), "convert");
    return test::runCommand(args);
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ConvertFolderCommand : public testing::Test {
protected:
    std::string folder() const { return m_dir.path().string(); }
    std::string path(const std::string& relative) const { return (m_dir.path() / relative).string(); }
    test::TempDir m_dir;
};

// A Galdo database is done twice, also when fixed deductions alone are asked for.
TEST_F(ConvertFolderCommand, prints_the_summary_on_standard_output_and_one_progress_line_per_pass)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");

    const auto result = runConvert({"--format", "4", "--alle", folder(), "--festabzug", "--ohne-sicherung"});

    EXPECT_EQ(result.status, 0) << result.out << result.err;
    const auto galdo = path("Gruppe01/GALD001.MDB");
    const auto out = linesOf(result.out);
    ASSERT_EQ(out.size(), 4u) << result.out;
    EXPECT_EQ(out[0], "Mandant;Datei;Durchgang;Datensätze;IBAN gebildet;mit Konvertierhinweis;mit Fehlerhinweis;"
                      "nicht gespeichert;Sicherungskopie;Ergebnis");
    EXPECT_TRUE(out[1].starts_with("1;" + galdo + ";Personaldaten;8;")) << out[1];
    EXPECT_TRUE(out[2].starts_with("1;" + galdo + ";Festabzüge;6;")) << out[2];
    EXPECT_TRUE(out[2].ends_with(";0;;gespeichert")) << out[2];
    EXPECT_EQ(out[3], "1 gefundene Mandanten in " + folder());
    const auto err = linesOf(result.err);
    ASSERT_EQ(err.size(), 4u) << result.err;
    EXPECT_EQ(err[1], "[1/2] " + galdo + " (Personaldaten): gespeichert");
    EXPECT_EQ(err[2], "[2/2] " + galdo + " (Festabzüge): gespeichert");
    // Named after the format and the start to the second.
    const auto file = err.back().substr(std::string("Sammelprotokoll: ").size());
    const std::string stem = path("Sammelprotokoll_ZELVAN_Galdo_");
    const std::string shape = "0000-00-00_000000.csv"; // 0: a digit
    ASSERT_EQ(file.size(), stem.size() + shape.size()) << file;
    EXPECT_TRUE(file.starts_with(stem)) << file;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = file[stem.size() + i];
        EXPECT_TRUE(shape[i] == '0' ? c >= '0' && c <= '9' : c == shape[i]) << file;
    }
    EXPECT_TRUE(fs::exists(file));
}

// A row left out is named in its line and ends the run with 3; the status of the other outcomes is
// chosen from the summary as below.
TEST_F(ConvertFolderCommand, a_row_left_out_is_counted_in_its_line_and_exits_with_3)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 2), "");
    test::executeOn(path("Gruppe01/MARL001.MDB"), "CREATE TRIGGER Gesperrt BEFORE UPDATE ON Personenkonten WHEN "
                                                  "old.OPKontoNr = 10010 BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");

    const auto result = runConvert({"--format", "1", "--alle", folder()});

    EXPECT_EQ(result.status, 3) << result.out << result.err;
    const auto out = linesOf(result.out);
    ASSERT_EQ(out.size(), 4u) << result.out;
    // "nicht gespeichert" 1, then the copy.
    EXPECT_NE(out[1].find(";1;" + path("Gruppe01/Sicherung_ZELVAN/MARL001.MDB.")), std::string::npos) << out[1];
    EXPECT_TRUE(out[2].ends_with(";gespeichert")) << out[2];
}

TEST_F(ConvertFolderCommand, a_folder_it_could_not_read_is_a_line_of_the_summary_and_exits_with_1)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");
    fs::create_directory(m_dir.path() / "gesperrt");
    const test::RefusedFolder refused(path("gesperrt"), EACCES);

    const auto result = runConvert({"--format", "3", "--alle", folder(), "--ohne-sicherung"});

    EXPECT_EQ(result.status, 1) << result.err;
    const auto line = ";" + path("gesperrt") + ";;;;;;;;Ordner nicht lesbar (keine Berechtigung)";
    const auto out = linesOf(result.out);
    ASSERT_EQ(out.size(), 4u) << result.out;
    EXPECT_EQ(out[2], line);
    EXPECT_EQ(out[3], "1 gefundene Mandanten in " + folder());
    const auto summaryFile = result.err.substr(result.err.find("Sammelprotokoll: ") + 17);
    EXPECT_NE(test::bytesOf(summaryFile.substr(0, summaryFile.find('\n'))).find(line + "\r\n"), std::string::npos);
}

TEST_F(ConvertFolderCommand, bad_arguments_and_a_missing_folder_exit_with_2)
{
    ASSERT_EQ(demo::writeOfficeDatabases(m_dir.path(), 1), "");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--format", "1", "--alle", folder(), "--db", path("Gruppe01/MARL001.MDB")}, "schließen einander aus"},
        {{"--format", "1", "--alle"}, "--alle"},
        {{"--alle", folder()}, "Das Format fehlt"},
        {{"--format", "1", "--alle", path("fehlt")}, "Der Ordner \""},
        {{"--format", "1", "--alle", path("Gruppe01/MARL001.MDB")}, "\" ist kein Ordner."},
    };
    for (const auto& c : cases) {
        const auto result = runConvert(c.args);
        EXPECT_EQ(result.status, 2) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_FALSE(fs::exists(m_dir.path() / "Gruppe01/Sicherung_ZELVAN"));
}

TEST_F(ConvertFolderCommand, a_folder_without_databases_writes_nothing_and_exits_with_1)
{
    const auto result = runConvert({"--format", "1", "--alle", folder()});

    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("Keine Datenbank des Formats Marlo unter " + folder() + " gefunden.\n"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(fs::is_empty(m_dir.path()));
}

TEST(FolderExitStatus, failed_lines_come_before_unwritten_files_and_these_before_rows_left_out)
{
    const auto line = [](bool failed, int notSaved, bool reportNotWritten = false) {
        return BatchLine{"1", "f", "", 1, 0, 0, 0, notSaved, "", "", failed || reportNotWritten, reportNotWritten};
    };
    struct Case {
        std::vector<BatchLine> lines;
        std::string fileError;
        int status;
    };
    const Case cases[] = {
        {{}, "", 1},
        {{line(false, 0)}, "", 0},
        {{line(false, 2)}, "", 3},
        {{line(false, 2), line(true, 0)}, "", 1},
        {{line(false, 2)}, "Die Datei kann nicht geschrieben werden", 4},
        {{line(false, 2), line(false, 0, true)}, "", 4},
        {{line(false, 0, true), line(true, 0)}, "", 1},
    };
    for (const auto& c : cases) {
        BatchSummary summary;
        summary.lines = c.lines;
        summary.summaryFileError = c.fileError;
        EXPECT_EQ(folderExitStatus(summary), c.status);
    }
}

} // namespace
} // namespace zelvan
