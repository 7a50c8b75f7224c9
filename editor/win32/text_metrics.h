#pragma once
// The text view's font at its DPI and what it measures: the row height, each character's width
// (kept once asked), tab stops and the margin beside the text.

#include "editor/control/line_widths.h"
#include "editor/control/row_layout.h"
#include "editor/control/text_control.h"
#include "editor/win32/handles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quillet::win32 {

class TextMetrics : public CharacterMeasure, public RunMeasure {
public:
    TextMetrics();

    // Makes the font at dpi and measures it afresh.
    void Rebuild(const FontSpec& font, int dpi);

    HFONT Font() const { return font_; }
    int LineHeight() const { return lineHeight_; }
    int AverageWidth() const { return averageWidth_; }
    int Margin() const { return margin_; }

    int CharWidth(char16_t c);
    // The width c takes when it starts at x: a tab reaches the next stop, a control character is
    // a box, a surrogate pair takes its width on its first half.
    int Advance(char16_t c, int x) override;
    int MeasureRun(std::u16string_view run, int x) override;

private:
    static constexpr int kTabColumns = 8;

    // Text is measured in a DC of its own with font_ selected; declared in this order, the font is
    // deselected, then the DC deleted, then the font.
    GdiFont font_;
    MemoryDc measureDc_;
    std::optional<SelectInDc> measureFont_;
    std::vector<int16_t> widths_; // per BMP character, 0 = not measured yet
    int lineHeight_ = 16;
    int averageWidth_ = 8;
    int tabWidth_ = 64;
    int margin_ = 2;
};

} // namespace quillet::win32
