#include "cli/TerminalUserInterface.h"

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
    m_out << text << '\n';
    m_out.flush();
    return defaultAnswer(request);
}

} // namespace zelvan
