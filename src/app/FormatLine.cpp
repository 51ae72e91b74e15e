#include "app/FormatLine.h"

#include "bankdir/BankFileCheck.h"
#include "clientdb/ClientFormats.h"
#include "core/FileExists.h"

namespace zelvan {

std::string shownFormatLine(ClientFormat format, const std::string& path)
{
    return FileExists(path) ? FormatFileLine(format, path) : std::string(kNoDatabaseChosen);
}

std::string shownDataSet(ClientFormat format, bool fixedDeductions, const std::string& path)
{
    if (format != ClientFormat::Galdo || !FileExists(path))
        return {};
    return fixedDeductions ? "Festabzüge" : "Personaldaten";
}

} // namespace zelvan

namespace zelvan {

std::string bankFileToolTip(const BankFileResult& file, int banks, const std::string& modified)
{
    if (!file.ok)
        return "Keine BLZ-Datei eingelesen. " + file.error;
    std::string text =
        "BLZ-Datei: " + file.path + "\ngeändert am " + modified + ", " + std::to_string(banks) + " Banken";
    if (file.sample)
        text += "\n" + std::string(kSampleNotice);
    return text;
}

} // namespace zelvan
