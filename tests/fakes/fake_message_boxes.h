#pragma once
// Records every message box and answers from a script; with no scripted answer left it answers
// the preselected button, as pressing Enter would.

#include "editor/platform/message_boxes.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quillet::fakes {

struct ShownMessage {
    std::u16string text;
    std::u16string title;
    MessageStyle style;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    MessageAnswer Show(std::u16string_view text, std::u16string_view title, MessageStyle style) override {
        shown.push_back({std::u16string(text), std::u16string(title), style});
        if (onShow)
            onShow();
        if (answers.empty())
            return style.defaultAnswer;
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    std::function<void()> onShow; // lets a test see the world while the box is up
};

} // namespace quillet::fakes
