#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/WorkingSet.h"

namespace zelvan {

// Walks the arguments of a sub-command: options with or without a value ("--name value" or
// "--name=value") and plain arguments. Errors are German texts for standard error. An option given
// twice is an error: which of the two was meant cannot be told.
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& args, std::size_t first = 1)
        : m_args(args), m_pos(first)
    {
    }

    bool atEnd() const { return m_pos >= m_args.size(); }
    // The next argument; an option's "=value" part is held back for value(). An option seen before
    // sets an error.
    std::string next();
    // The value of the option just read; sets an error when there is none.
    std::optional<std::string> value(const std::string& option);
    // The value of --format: a client format number 1 to 4; sets an error for anything else.
    std::optional<ClientFormat> formatValue(const std::string& option);

    void fail(std::string message)
    {
        if (m_error.empty())
            m_error = std::move(message);
    }
    const std::string& error() const { return m_error; }

private:
    const std::vector<std::string>& m_args;
    std::size_t m_pos;
    std::optional<std::string> m_inlineValue;
    std::set<std::string> m_seenOptions;
    std::string m_error;
};

} // namespace zelvan
