#include "support/RecordingUserInterface.h"

namespace zelvan::test {

void RecordingUserInterface::setBusy(bool busy)
{
    busyDepth += busy ? 1 : -1;
    wasBusy = wasBusy || busy;
}

bool RecordingUserInterface::stopRequested()
{
    std::size_t done = 0;
    for (std::size_t i = 0; i + 1 < progress.size(); ++i)
        done += progress[i].itemDone ? 1u : 0u;
    return done >= stopAfterItems;
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
