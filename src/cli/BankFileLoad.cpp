#include "cli/BankFileLoad.h"

#include <ostream>

#include "bankdir/BankCodeFile.h"
#include "bankdir/BankFileCheck.h"

namespace zelvan {

bool loadBankFileForCommand(const std::string& path, const std::string& programFolder, BankDirectory& directory,
                            std::ostream& err)
{
    const auto loaded = loadBankCodeFile(path, directory);
    if (!loaded.ok) {
        err << loaded.error;
        if (loaded.missing && path == bankCodeFilePath(programFolder))
            err << ' ' << bankFileBelongsIn(programFolder);
        err << '\n';
        return false;
    }
    if (loaded.sample)
        err << kSampleNotice << '\n';
    return true;
}

} // namespace zelvan
