#include "editor/win32/text_metrics.h"

#include "editor/control/caret_motion.h"
#include "editor/win32/dpi.h"
#include "editor/win32/wide.h"

#include <algorithm>
#include <cwchar>
#include <limits>
#include <string>

namespace quillet::win32 {

TextMetrics::TextMetrics() : widths_(0x10000, 0) {}

void TextMetrics::Rebuild(const FontSpec& font, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -PixelsFromPoints(std::max(1, font.size), dpi);
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    std::wstring face = ToWide(font.name.empty() ? u"Courier New" : font.name);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    GdiFont created(CreateFontIndirectW(&lf));

    if (!measureDc_)
        measureDc_.Reset(CreateCompatibleDC(nullptr));
    if (!measureFont_)
        measureFont_.emplace(measureDc_, created);
    else
        measureFont_->Select(created);
    font_ = std::move(created); // the old one, deselected now, goes
    TEXTMETRICW tm{};
    GetTextMetricsW(measureDc_, &tm);
    lineHeight_ = std::max<int>(1, tm.tmHeight + tm.tmExternalLeading);
    std::fill(widths_.begin(), widths_.end(), 0);
    averageWidth_ = std::max(1, CharWidth(u'x'));
    tabWidth_ = std::max(1, CharWidth(u' ')) * kTabColumns;
    margin_ = std::max(1, PixelsFrom96(2, dpi));
}

int TextMetrics::CharWidth(char16_t c) {
    int16_t w = widths_[c];
    if (w)
        return w;
    // Measure a block of 256 at once: far fewer calls when a new script appears.
    UINT base = c & 0xFF00u;
    INT buf[256];
    if (GetCharWidth32W(measureDc_, base, base + 255, buf)) {
        for (int i = 0; i < 256; ++i)
            widths_[base + i] = static_cast<int16_t>(std::clamp(buf[i], 1, 0x7FFF));
    } else {
        for (int i = 0; i < 256; ++i)
            widths_[base + i] = static_cast<int16_t>(averageWidth_);
    }
    return widths_[c];
}

int TextMetrics::MeasureRun(std::u16string_view run, int x) {
    // A line can be longer than any screen is wide many times over; its width saturates.
    constexpr int kWidest = std::numeric_limits<int>::max() / 4;
    for (char16_t c : run) {
        // Most characters are measured already and need nothing but their width.
        int width = c >= 0x20 && (c & 0xF800) != 0xD800 ? widths_[c] : 0;
        if (width == 0)
            width = Advance(c, x);
        x = std::min(kWidest, x + width);
    }
    return x;
}

int TextMetrics::Advance(char16_t c, int x) {
    if (c == u'\t')
        return tabWidth_ - x % tabWidth_;
    if (IsControl(c))
        return averageWidth_; // drawn as a placeholder box
    if (c >= 0xDC00 && c <= 0xDFFF)
        return 0; // the high surrogate carries the pair's width
    if (c >= 0xD800 && c <= 0xDBFF)
        return std::max(averageWidth_, CharWidth(0xFFFD));
    return CharWidth(c);
}

} // namespace quillet::win32
