#pragma once

#include <iosfwd>

#include "core/UserInterface.h"

namespace zelvan {

// The command line's user interface: every message box is printed as its text (line breaks as
// LF) and answered with its default button; status texts and the hourglass are not shown.
class TerminalUserInterface final : public UserInterface {
public:
    explicit TerminalUserInterface(std::ostream& out) : m_out(out) {}

    void setStatusText(std::string_view) override {}
    void setBusy(bool) override {}
    MessageAnswer showMessage(const MessageRequest& request) override;
    void processEvents() override {}

    // The system's error number of the first message that could not be written; 0 when none.
    int writeError() const { return m_writeError; }

private:
    std::ostream& m_out;
    bool m_failed = false;
    int m_writeError = 0;
};

} // namespace zelvan
