#include "bankdir/BankCodeFile.h"

#include <filesystem>
#include <system_error>

#include "bankdir/BankFileCheck.h"
#include "core/PathRoutines.h"

namespace zelvan {

namespace {

// Hands every line to the check and to the directory in one pass over the file.
class CheckedLoad final : public LineSink {
  public:
    CheckedLoad(BankFileCheck& check, BankDirectory& directory) : m_check(check), m_directory(directory) {}

    void begin(std::size_t bytes) override { m_directory.begin(bytes); }
    void line(std::string_view line) override
    {
        m_check.line(line);
        m_directory.line(line);
    }
    void end() override { m_directory.end(); }

  private:
    BankFileCheck& m_check;
    BankDirectory& m_directory;
};

} // namespace

std::string bankCodeFilePath(const std::string& programFolder)
{
    return WithBackslash(programFolder) + kBankCodeFileName;
}

BankFileResult loadBankCodeFile(const std::string& path, BankDirectory& directory)
{
    BankFileResult result;
    result.path = path;
    // A file that cannot be read leaves the directory empty rather than stale.
    directory.begin();
    BankFileCheck check;
    CheckedLoad load(check, directory);
    const auto scanned = scanLines(path, load);
    if (!scanned.ok) {
        std::error_code ec;
        result.missing = !std::filesystem::exists(path, ec) && !ec;
        result.error = "Die BLZ-Datei kann nicht gelesen werden. " + scanned.error;
        return result;
    }
    const auto verdict = check.finish();
    if (!verdict.ok) {
        // Nothing of a refused file is used, not even its good lines.
        directory.begin();
        result.error = "Die BLZ-Datei \"" + path + "\" wird nicht verwendet. " + verdict.problem;
        return result;
    }
    result.ok = true;
    result.sample = verdict.sample;
    return result;
}

std::string bankFileBelongsIn(const std::string& programFolder)
{
    return "Die BLZ-Datei der Bundesbank mit IBAN-Regeln gehört als \"" + std::string(kBankCodeFileName) +
           "\" in den Programmordner \"" + WithBackslash(programFolder) + "\".";
}

BankFileResult loadBankDirectory(const std::string& programFolder, BankDirectory& directory, UserInterface& ui)
{
    const BusyPointer busy(ui);
    ui.setStatusText("BLZ-Bestand der Bundesbank wird eingelesen...");
    const auto path = bankCodeFilePath(programFolder);
    auto result = loadBankCodeFile(path, directory);
    if (result.missing)
        result.error += " " + bankFileBelongsIn(programFolder);
    ui.processEvents();
    ui.setStatusText("BLZ-Bestand eingelesen.  Anzahl BLZ: " + std::to_string(directory.Count()) +
                     "  BLZ-Datei: " + path);
    return result;
}

} // namespace zelvan
