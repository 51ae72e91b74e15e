#include "cli/OutputCheck.h"

#include <cerrno>
#include <string>

#include "clientdb/DbError.h"

namespace zelvan {

bool outputComplete(std::ostream& out, std::ostream& err, int writeError)
{
    if (out) {
        errno = 0;
        out.flush();
        if (out)
            return true;
        writeError = errno;
    }
    const auto cause = systemErrorText(writeError);
    err << "Die Ausgabe konnte nicht vollständig geschrieben werden"
        << (cause.empty() ? std::string() : " (" + std::string(cause) + ")") << "; sie ist unvollständig.\n";
    return false;
}

} // namespace zelvan
