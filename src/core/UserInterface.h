#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvan {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Question, Exclamation, Critical };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    std::string title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    // Index of the default button within the button set (0 = first).
    int defaultButton = 0;
    // A folder the box offers to open besides its buttons, where the windows can (empty: none).
    std::string folder = {};
};

// The answer a message box gives when the user just confirms its default button.
MessageAnswer defaultAnswer(const MessageRequest& request);

// How far a long run over several databases has come. The steps of one database ("eingelesen",
// "umgewandelt", "gespeichert") come with `itemDone` false; the database's end comes with its
// result and `itemDone` true.
struct ProgressReport {
    std::size_t item = 0; // from 1; 0 while the run does not say which
    std::size_t itemCount = 0;
    std::string itemName; // the database path, with its pass where it has two
    std::string step;
    bool itemDone = false;
};

// The only way the core talks to the person in front of the screen. The windows implement it
// with Qt, the command line on the terminal, the tests with a scripted fake.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual void setStatusText(std::string_view text) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    virtual void processEvents() = 0;
    // Progress of a run over several databases; shown where a front end has a place for it.
    virtual void showProgress(const ProgressReport&) {}
    // Whether the person has asked a long run to stop; read between databases, never inside a save.
    virtual bool stopRequested() { return false; }
};

// Shows the hourglass for as long as it lives.
class BusyPointer {
public:
    explicit BusyPointer(UserInterface& ui) : m_ui(ui) { m_ui.setBusy(true); }
    ~BusyPointer() { m_ui.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    UserInterface& m_ui;
};

// Does nothing and answers every question with its default button.
class SilentUserInterface final : public UserInterface {
public:
    void setStatusText(std::string_view) override {}
    void setBusy(bool) override {}
    MessageAnswer showMessage(const MessageRequest& request) override { return defaultAnswer(request); }
    void processEvents() override {}
};

} // namespace zelvan
