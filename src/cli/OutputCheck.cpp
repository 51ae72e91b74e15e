#include "cli/OutputCheck.h"

#include <cerrno>
#include <string>

#include "core/SystemErrorCause.h"

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
    err << "Die Ausgabe konnte nicht vollständig geschrieben werden"
        << (writeError == 0 ? std::string() : ": " + systemErrorCause(writeError)) << "; sie ist unvollständig.\n";
    return false;
}

} // namespace zelvan
