#include "bankdir/BankCodeFile.h"

#include "core/PathRoutines.h"

namespace zelvan {

std::string bankCodeFilePath(const std::string& programFolder)
{
    return WithBackslash(programFolder) + kBankCodeFileName;
}

ScanResult loadBankCodeFile(const std::string& path, BankDirectory& directory)
{
    // A file that cannot be read leaves the directory empty rather than stale.
    directory.begin();
    return scanLines(path, directory);
}

void loadBankDirectory(const std::string& programFolder, BankDirectory& directory, UserInterface& ui)
{
    const BusyPointer busy(ui);
    ui.setStatusText("BLZ-Bestand der Bundesbank wird eingelesen...");
    const auto path = bankCodeFilePath(programFolder);
    loadBankCodeFile(path, directory);
    ui.processEvents();
    ui.setStatusText("BLZ-Bestand eingelesen.  Anzahl BLZ: " + std::to_string(directory.Count()) +
                     "  BLZ-Datei: " + path);
}

} // namespace zelvan
