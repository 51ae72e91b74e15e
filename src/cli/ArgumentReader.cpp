#include "cli/ArgumentReader.h"

namespace zelvan {

std::string ArgumentReader::next()
{
    std::string arg = m_args[m_pos++];
    m_inlineValue.reset();
    if (arg.starts_with("--")) {
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            m_inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        if (!m_seenOptions.insert(arg).second)
            fail("Die Option " + arg + " ist doppelt angegeben.");
    }
    return arg;
}

std::optional<std::string> ArgumentReader::value(const std::string& option)
{
    if (m_inlineValue) {
        auto result = std::move(m_inlineValue);
        m_inlineValue.reset();
        return result;
    }
    if (atEnd()) {
        fail("Die Option " + option + " braucht einen Wert.");
        return std::nullopt;
    }
    return m_args[m_pos++];
}

std::optional<ClientFormat> ArgumentReader::formatValue(const std::string& option)
{
    const auto text = value(option);
    if (!text)
        return std::nullopt;
    if (text->size() == 1 && (*text)[0] >= '1' && (*text)[0] <= '4')
        return static_cast<ClientFormat>((*text)[0] - '0');
    fail("Ungültiges Format \"" + *text + "\": erlaubt sind 1 bis 4.");
    return std::nullopt;
}

} // namespace zelvan
