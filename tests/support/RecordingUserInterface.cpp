#include "support/RecordingUserInterface.h"

namespace zelvan::test {

void RecordingUserInterface::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
    wasBusy = wasBusy || busy;
}

MessageAnswer RecordingUserInterface::showMessage(const MessageRequest& request)
{
    messages.push_back(request);
    if (answers.empty())
        return defaultAnswer(request);
    const auto answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace zelvan::test
