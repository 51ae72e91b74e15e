#include "app/FormatLine.h"

#include "clientdb/ClientFormats.h"
#include "core/FileExists.h"

namespace zelvan {

std::string shownFormatLine(ClientFormat format, const std::string& path)
{
    return FileExists(path) ? FormatFileLine(format, path) : std::string(kNoDatabaseChosen);
}

} // namespace zelvan
