#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "core/UserInterface.h"
#include "select/FileOpenDialog.h"

namespace zelvan::test {

// A file-open dialog that answers from a script and records what it was asked.
class ScriptedFileDialog final : public FileOpenDialog {
public:
    std::string openFileName(QWidget*, const FileOpenRequest& request) override
    {
        titles.emplace_back(request.title);
        initialFolders.push_back(request.initialFolder);
        std::vector<std::string> shown;
        for (const auto& filter : request.filters)
            shown.emplace_back(filter.description);
        filters.push_back(shown);
        if (nextFileNames.empty())
            return {};
        std::string name = nextFileNames.front();
        nextFileNames.pop_front();
        return name;
    }

    std::string chooseFolder(QWidget*, std::string_view title, const std::string& initialFolder) override
    {
        folderTitles.emplace_back(title);
        folderStarts.push_back(initialFolder);
        if (nextFolders.empty())
            return {};
        std::string folder = nextFolders.front();
        nextFolders.pop_front();
        return folder;
    }

    std::deque<std::string> nextFileNames;
    std::deque<std::string> nextFolders;
    std::vector<std::string> folderTitles;
    std::vector<std::string> folderStarts;
    std::vector<std::string> titles;
    std::vector<std::string> initialFolders;
    std::vector<std::vector<std::string>> filters;
};

// A UserInterface that records everything, answers message boxes from a script (the default
// button once the script is used up) and runs a hook at every event-loop turn.
class ScriptedUserInterface final : public UserInterface {
public:
    void setStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    void setBusy(bool busy) override { busyDepth += busy ? 1 : -1; }
    MessageAnswer showMessage(const MessageRequest& request) override
    {
        messages.push_back(request);
        if (answers.empty())
            return defaultAnswer(request);
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void processEvents() override
    {
        ++eventTurns;
        if (onEventTurn)
            onEventTurn(eventTurns);
    }

    std::vector<std::string> statusTexts;
    std::vector<MessageRequest> messages;
    std::deque<MessageAnswer> answers;
    std::function<void(int turn)> onEventTurn;
    int eventTurns = 0;
    int busyDepth = 0;
};

} // namespace zelvan::test
