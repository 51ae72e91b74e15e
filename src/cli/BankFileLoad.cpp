#include "cli/BankFileLoad.h"

#include <algorithm>
#include <ostream>

#include "bankdir/BankCodeFile.h"

namespace zelvan {

namespace {

constexpr std::size_t kBlzLength = 8;

bool isBankCode(const std::string& blz)
{
    return blz.size() == kBlzLength &&
           std::all_of(blz.begin(), blz.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool holdsBankCode(const BankDirectory& directory)
{
    for (int row = 1; row <= directory.Count(); ++row) {
        if (isBankCode(directory.entry(row).blz))
            return true;
    }
    return false;
}

} // namespace

bool loadBankFileForCommand(const std::string& path, BankDirectory& directory, std::ostream& err)
{
    const auto loaded = loadBankCodeFile(path, directory);
    if (!loaded.ok) {
        err << "Die BLZ-Datei kann nicht gelesen werden. " << loaded.error << '\n';
        return false;
    }
    if (!holdsBankCode(directory)) {
        err << "Die BLZ-Datei kann nicht gelesen werden. Die Datei \"" << path
            << "\" enthält keine Bankleitzahl im Format der Bundesbank.\n";
        return false;
    }
    return true;
}

} // namespace zelvan
