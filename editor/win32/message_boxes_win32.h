#pragma once
// Modal message boxes through MessageBoxW, owned by the main window once it is visible.

#include "editor/platform/message_boxes.h"

#include <windows.h>

namespace quillet::win32 {

// The MessageBoxW style for an icon, a button set and the preselected button.
UINT MessageBoxFlags(const MessageStyle& style);

class MessageBoxesWin32 : public MessageBoxes {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    MessageAnswer Show(std::u16string_view text, std::u16string_view title, MessageStyle style) override;

private:
    HWND owner_ = nullptr;
};

} // namespace quillet::win32
