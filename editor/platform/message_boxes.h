#pragma once
// Modal message boxes over the main window.

#include <string_view>

namespace quillet {

enum class MessageIcon { Error, Information, Warning };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageStyle {
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok; // the preselected button
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(std::u16string_view text, std::u16string_view title, MessageStyle style) = 0;
};

} // namespace quillet
