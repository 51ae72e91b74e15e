#include "core/UserInterface.h"

#include <array>
#include <span>

namespace zelvan {

namespace {

// The buttons of each set, in the order they stand in the box.
constexpr std::array kOkButtons{MessageAnswer::Ok};
constexpr std::array kOkCancelButtons{MessageAnswer::Ok, MessageAnswer::Cancel};
constexpr std::array kYesNoButtons{MessageAnswer::Yes, MessageAnswer::No};
constexpr std::array kYesNoCancelButtons{MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};

std::span<const MessageAnswer> buttonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return kOkButtons;
    case MessageButtons::OkCancel: return kOkCancelButtons;
    case MessageButtons::YesNo: return kYesNoButtons;
    case MessageButtons::YesNoCancel: return kYesNoCancelButtons;
    }
    return kOkButtons;
}

} // namespace

MessageAnswer defaultAnswer(const MessageRequest& request)
{
    const auto buttons = buttonsOf(request.buttons);
    const auto index = static_cast<std::size_t>(request.defaultButton);
    return index < buttons.size() ? buttons[index] : buttons.front();
}

} // namespace zelvan
