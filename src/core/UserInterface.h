#pragma once

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

// The only way the core talks to the person in front of the screen. The windows implement it
// with Qt, the command line on the terminal, the tests with a scripted fake.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    virtual void setStatusText(std::string_view text) = 0;
    virtual void setBusy(bool busy) = 0;
    virtual MessageAnswer showMessage(const MessageRequest& request) = 0;
    virtual void processEvents() = 0;
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
