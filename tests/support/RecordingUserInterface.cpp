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
    for (const auto& report : progress)
        done += report.itemDone ? 1 : 0;
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
