#pragma once
// The clipboard port over the Windows clipboard: Unicode text first, ANSI text beside it.

#include "editor/platform/clipboard.h"

#include <windows.h>

namespace quillet::win32 {

class ClipboardWin32 : public Clipboard {
public:
    // The clipboard needs an owner window for SetClipboardData to succeed after emptying it.
    explicit ClipboardWin32(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    bool SetText(std::u16string_view text) override;
    std::optional<std::u16string> Text() override;

private:
    HWND owner_;
};

} // namespace quillet::win32
