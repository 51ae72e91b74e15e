#include "cli/TerminalUserInterface.h"

#include <cerrno>
#include <ostream>

namespace zelvan {

MessageAnswer TerminalUserInterface::showMessage(const MessageRequest& request)
{
    std::string text;
    text.reserve(request.text.size());
    for (std::size_t i = 0; i < request.text.size(); ++i) {
        const char c = request.text[i];
        if (c != '\r') {
            text += c;
        } else if (i + 1 >= request.text.size() || request.text[i + 1] != '\n') {
            text += '\n'; // a lone CR breaks the line as well
        }
    }
    errno = 0;
    m_out << text << '\n';
    m_out.flush();
    if (!m_out && !m_failed) {
        m_failed = true;
        m_writeError = errno;
    }
    return defaultAnswer(request);
}

} // namespace zelvan
