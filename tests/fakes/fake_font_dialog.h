#pragma once
// The font dialog with a scripted answer; it records the records it was shown and lets the test
// play the user's choice and the platform's font substitution.

#include "editor/platform/font_dialog.h"

#include <functional>
#include <optional>
#include <string>

namespace quillet::fakes {

class FakeFontDialog : public FontDialog {
public:
    int32_t PixelsPerInchY() override { return pixelsPerInch; }

    int32_t Choose(FontDialogRecord& dialog, LogicalFont& font) override {
        ++shows;
        shownDialog = dialog;
        shownFont = font;
        if (!confirm)
            return 0;
        if (choose)
            choose(dialog, font);
        return 1;
    }

    std::optional<std::u16string> CreatedFaceName(const LogicalFont& font, size_t maxLength) override {
        createdFrom = font;
        if (failCreate)
            return std::nullopt;
        std::u16string face = substitute ? *substitute : std::u16string(font.lfFaceName.data());
        return face.substr(0, maxLength);
    }

    int32_t pixelsPerInch = 96;
    bool confirm = true;
    // Plays the user's choice on the records the dialog returns.
    std::function<void(FontDialogRecord&, LogicalFont&)> choose;
    bool failCreate = false;
    std::optional<std::u16string> substitute; // the face the platform creates instead

    int shows = 0;
    std::optional<FontDialogRecord> shownDialog;
    std::optional<LogicalFont> shownFont;
    std::optional<LogicalFont> createdFrom;
};

} // namespace quillet::fakes
