#pragma once
// The font dialog port over ChooseFontW and the GDI font services of the main window.

#include "editor/platform/font_dialog.h"

#include <windows.h>

namespace quillet::win32 {

class FontDialogWin32 : public FontDialog {
public:
    explicit FontDialogWin32(HWND owner = nullptr) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }

    int32_t PixelsPerInchY() override;
    int32_t Choose(FontDialogRecord& dialog, LogicalFont& font) override;
    std::optional<std::u16string> CreatedFaceName(const LogicalFont& font, size_t maxLength) override;

private:
    HWND owner_;
};

// Field by field between the portable record and the platform's.
LOGFONTW ToLogFont(const LogicalFont& font);
LogicalFont FromLogFont(const LOGFONTW& font);

} // namespace quillet::win32
