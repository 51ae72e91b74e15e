#include "cli/OutputCheck.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <streambuf>

#include <gtest/gtest.h>

#include "DemoDatabases.h"
#include "cli/CommandLine.h"
#include "support/TempDir.h"

namespace zelvan {
namespace {

const std::string kSampleFolder = ZELVAN_SOURCE_DIR "/data/";
const std::string kFullDisk =
    "Die Ausgabe konnte nicht vollständig geschrieben werden: Der Datenträger ist voll (Fehler 28); sie "
    "ist unvollständig.\n";

// Standard output on a disk that is full after `room` bytes, as a write that fails leaves it.
class FullDisk : public std::streambuf {
public:
    explicit FullDisk(std::size_t room) : m_room(room) {}
    const std::string& written() const { return m_written; }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        const auto fits = std::min(static_cast<std::size_t>(count), m_room - m_written.size());
        m_written.append(text, fits);
        if (fits < static_cast<std::size_t>(count))
            errno = ENOSPC;
        return static_cast<std::streamsize>(fits);
    }

private:
    std::size_t m_room;
    std::string m_written;
};

TEST(OutputCheck, a_command_whose_output_fails_says_so_and_exits_1)
{
    test::TempDir dir;
    dir.write("MARL001.MDB", "x");
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += "50060400;11404\n";
    struct Case {
        std::vector<std::string> args;
        std::size_t room;
    };
    const Case cases[] = {
        {{"iban"}, 0},         {{"iban"}, 100000},
        {{"pruefen"}, 100000}, {{"search", "--format", "1", dir.path().string()}, 10},
        {{"--help"}, 0},       {{"--version"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + std::to_string(c.room));
        std::istringstream in(lines);
        FullDisk disk(c.room);
        std::ostream out(&disk);
        std::ostringstream err;
        CommandEnvironment env{in, out, err, kSampleFolder};
        EXPECT_EQ(runCommandLine(c.args, env), 1);
        EXPECT_TRUE(err.str().ends_with(kFullDisk)) << err.str();
        EXPECT_EQ(disk.written().size(), c.room);
    }
}

// Output that fails without a cause from the system names none.
TEST(OutputCheck, failed_output_without_a_cause_names_none)
{
    std::ostringstream out, err;
    out.setstate(std::ios::badbit);
    EXPECT_FALSE(outputComplete(out, err, 0));
    EXPECT_EQ(err.str(), "Die Ausgabe konnte nicht vollständig geschrieben werden; sie ist unvollständig.\n");
}

// The program finds the bank-code file beside itself and exits with 1 on a full device.
TEST(OutputCheck, the_program_on_a_full_device_exits_1)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "this machine has no /dev/full";
    test::TempDir dir;
    const auto input = dir.write("eingabe.txt", "50060400;11404\n");
    const auto errors = (dir.path() / "fehler.txt").string();
    const std::string command = std::string(ZELVAN_EXECUTABLE) + " iban < " + input + " > /dev/full 2> " + errors;
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(test::bytesOf(errors), "Beispiel-BLZ-Datei: Banknamen und BICs sind erfunden.\n" + kFullDisk);
}

// A save that committed but left a report or its output unwritten exits 4 and says what failed.
TEST(OutputCheck, a_saved_conversion_without_its_report_or_output_exits_4)
{
    constexpr std::size_t kRoomy = 1 << 20;
    struct Case {
        const char* mode;
        std::string folderAsReport; // made a folder where the report goes; empty for none
        std::size_t room;
    };
    const Case cases[] = {
        {"--db", "Protokoll_ZELVAN.txt", kRoomy},
        {"--db", "", 0},
        {"--alle", "MARL001.MDB_Protokoll_ZELVAN.txt", kRoomy},
        {"--alle", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.folderAsReport);
        test::TempDir dir;
        ASSERT_EQ(demo::writeOfficeDatabases(dir.path(), 1), "");
        const auto group = dir.path() / "Gruppe01";
        if (!c.folderAsReport.empty())
            std::filesystem::create_directory(group / c.folderAsReport);
        const std::string target =
            c.mode == std::string("--db") ? (group / "MARL001.MDB").string() : dir.path().string();
        std::istringstream in;
        FullDisk disk(c.room);
        std::ostream out(&disk);
        std::ostringstream err;
        CommandEnvironment env{in, out, err, kSampleFolder};

        EXPECT_EQ(runCommandLine({"convert", "--format", "1", c.mode, target, "--protokoll", "hinweise"}, env), 4);

        const auto named = c.folderAsReport.empty() ? kFullDisk : (group / c.folderAsReport).string();
        EXPECT_NE(err.str().find(named), std::string::npos) << err.str();
    }
}

} // namespace
} // namespace zelvan
