#include "core/UserInterface.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(UserInterface, default_answer_follows_the_default_button)
{
    struct Case {
        MessageButtons buttons;
        int defaultButton;
        MessageAnswer expected;
    };
    const Case cases[] = {
        {MessageButtons::Ok, 0, MessageAnswer::Ok},
        {MessageButtons::YesNo, 1, MessageAnswer::No},
        {MessageButtons::YesNoCancel, 0, MessageAnswer::Yes},
        {MessageButtons::YesNoCancel, 2, MessageAnswer::Cancel},
        {MessageButtons::OkCancel, 7, MessageAnswer::Ok}, // out of range: first button
    };
    for (const auto& c : cases) {
        MessageRequest request;
        request.buttons = c.buttons;
        request.defaultButton = c.defaultButton;
        EXPECT_EQ(defaultAnswer(request), c.expected);
    }
}

} // namespace
} // namespace zelvan
