#pragma once
// The font dialog port over ChooseFontW.

#include "editor/platform/font_dialog.h"

#include <windows.h>

namespace quillet::win32 {

class FontDialogWin32 : public FontDialog {
public:
    explicit FontDialogWin32(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    std::optional<FontSpec> PickFont(const FontSpec& current) override;

private:
    HWND owner_;
};

} // namespace quillet::win32
