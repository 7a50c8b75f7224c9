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

    // Each message as the user sees it: its text, then " [!]" for an error, " [?]" for a question
    // (Yes and No, No preselected), " [save?]" for the save question (Yes, No and Cancel, Yes
    // preselected), nothing for information (Ok alone), " [style]" for anything else and
    // " [title]" when not titled with the program's name.
    std::vector<std::u16string> Seen() const {
        std::vector<std::u16string> seen;
        for (const auto& m : shown) {
            const MessageStyle& s = m.style;
            const bool ok = s.buttons == MessageButtons::Ok && s.defaultAnswer == MessageAnswer::Ok;
            const bool question = s.icon == MessageIcon::Warning && s.buttons == MessageButtons::YesNo &&
                                  s.defaultAnswer == MessageAnswer::No;
            const bool save = s.icon == MessageIcon::Warning && s.buttons == MessageButtons::YesNoCancel &&
                              s.defaultAnswer == MessageAnswer::Yes;
            seen.push_back(m.text + (m.title != u"Квиллет"                      ? u" [title]"
                                     : ok && s.icon == MessageIcon::Information ? u""
                                     : ok && s.icon == MessageIcon::Error       ? u" [!]"
                                     : question                                 ? u" [?]"
                                     : save                                     ? u" [save?]"
                                                                                : u" [style]"));
        }
        return seen;
    }

    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    std::function<void()> onShow; // lets a test see the world while the box is up
};

} // namespace quillet::fakes
