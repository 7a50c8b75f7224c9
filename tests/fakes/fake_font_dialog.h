#pragma once
// The font dialog with a scripted answer; it records the font it was started from.

#include "editor/platform/font_dialog.h"

#include <optional>

namespace quillet::fakes {

class FakeFontDialog : public FontDialog {
public:
    std::optional<FontSpec> PickFont(const FontSpec& current) override {
        ++shows;
        shownFont = current;
        return answer;
    }

    std::optional<FontSpec> answer; // nothing: the user cancels
    int shows = 0;
    std::optional<FontSpec> shownFont;
};

} // namespace quillet::fakes
