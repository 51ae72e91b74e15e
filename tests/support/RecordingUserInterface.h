#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/UserInterface.h"

namespace zelvan::test {

// Records everything the core tells the user and answers questions from a script
// (the default button once the script is used up).
class RecordingUserInterface final : public UserInterface {
public:
    void setStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void setBusy(bool busy) override;
    MessageAnswer showMessage(const MessageRequest& request) override;
    void processEvents() override { ++eventTurns; }
    void showProgress(const ProgressReport& report) override { progress.push_back(report); }
    // Asks to stop once this many databases have been reported done, seen (as a click in a
    // window) only at the progress report after that.
    bool stopRequested() override;

    std::vector<ProgressReport> progress;
    std::size_t stopAfterItems = static_cast<std::size_t>(-1);

    std::vector<std::string> statusTexts;
    std::vector<MessageRequest> messages;
    std::deque<MessageAnswer> answers;
    int eventTurns = 0;
    int busyDepth = 0;
    bool wasBusy = false;
};

} // namespace zelvan::test
