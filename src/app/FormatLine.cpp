#include "app/FormatLine.h"

#include "core/FileExists.h"

namespace zelvan {

namespace {

std::string_view formatName(ClientFormat format)
{
    switch (format) {
    case ClientFormat::MarloOp: return "Marlo";
    case ClientFormat::Tondra: return "Tondra";
    case ClientFormat::Dorvan: return "Dorvan";
    default: return "Galdo";
    }
}

} // namespace

std::string shownFormatLine(ClientFormat format, const std::string& path)
{
    if (!FileExists(path))
        return std::string(kNoDatabaseChosen);
    return "Format: " + std::string(formatName(format)) + "  Datei: " + path;
}

} // namespace zelvan
