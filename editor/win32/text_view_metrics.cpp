// The view's measuring: its font and character widths at the window's DPI, and the rows lines
// wrap into at its width.

#include "editor/win32/text_view.h"

#include "editor/control/caret_motion.h"
#include "editor/win32/dpi.h"
#include "editor/win32/wide.h"

#include <algorithm>
#include <cwchar>
#include <limits>

namespace quillet::win32 {

// Long lines on screen are measured ahead while the user reads, so that End, Ctrl+End and the
// scroll bar find their widths known; a screen of ordinary lines needs no timer.
void TextView::MeasureLongLinesLater(UINT delayMs) {
    if (measurePending_ || !hwnd_)
        return;
    const int32_t last = std::min(layout_.LineCount() - 1, top_.line + ClientRows());
    for (int32_t line = top_.line; line <= last; ++line) {
        if (model_.LineEnd(line) - model_.LineStart(line) > LineWidths::kChunk) {
            measurePending_ = SetTimer(hwnd_, kMeasureTimer, delayMs, nullptr) != 0;
            return;
        }
    }
}

int TextView::Dpi() const {
    return WindowDpi(hwnd_);
}

void TextView::RebuildFont() {
    FontSpec font = model_.Font();
    LOGFONTW lf{};
    lf.lfHeight = -PixelsFromPoints(std::max(1, font.size), Dpi());
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
    ascent_ = tm.tmAscent;
    std::fill(widths_.begin(), widths_.end(), 0);
    avgCharWidth_ = std::max(1, CharWidth(u'x'));
    tabWidth_ = std::max(1, CharWidth(u' ')) * kTabColumns;
    margin_ = std::max(1, PixelsFrom96(2, Dpi()));
    maxWidthSeen_ = 0;
    lineWidths_.Forget();
    ResetLayout();
    if (hwnd_) {
        if (hasFocus_) {
            DestroyCaret();
            CreateCaret(hwnd_, nullptr, std::max(1, Dpi() / 96), lineHeight_);
            caretShown_ = {-1, -1}; // a new caret starts nowhere
            ShowCaret(hwnd_);
        }
        UpdateScrollBars();
        UpdateCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

int TextView::CharWidth(char16_t c) {
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
            widths_[base + i] = static_cast<int16_t>(avgCharWidth_);
    }
    return widths_[c];
}

// The width a character takes when it starts at x (tabs reach the next stop).
int TextView::MeasureRun(std::u16string_view run, int x) {
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

int TextView::Advance(char16_t c, int x) {
    if (c == u'\t')
        return tabWidth_ - x % tabWidth_;
    if (IsControl(c))
        return avgCharWidth_; // drawn as a placeholder box
    if (c >= 0xDC00 && c <= 0xDFFF)
        return 0; // the high surrogate carries the pair's width
    if (c >= 0xD800 && c <= 0xDBFF)
        return std::max(avgCharWidth_, CharWidth(0xFFFD));
    return CharWidth(c);
}

int TextView::WrapWidth() const {
    RECT rc = ClientArea();
    return std::max<int>(avgCharWidth_, rc.right - 2 * margin_);
}

int TextView::ClientRows() const {
    RECT rc = ClientArea();
    return std::max<int>(1, rc.bottom / lineHeight_);
}

// Where each display row of a line starts, relative to the line's start. One row when not
// wrapping; with wrap, words move to the next row whole unless one alone is too long.
const std::vector<int32_t>& TextView::RowStarts(int32_t line) {
    if (line == cachedLine_)
        return cachedStarts_;
    cachedLine_ = line;
    cachedStarts_.assign(1, 0);
    cachedLength_ = model_.LineEnd(line) - model_.LineStart(line);
    if (!wordWrap_)
        return cachedStarts_;
    int32_t start = model_.LineStart(line);
    int32_t end = model_.LineEnd(line);
    if (end == start)
        return cachedStarts_;
    cachedStarts_ = WrapRows(model_.Range(start, end), WrapWidth(), *this);
    return cachedStarts_;
}

int32_t TextView::RowsOf(int32_t line) {
    return wordWrap_ ? layout_.RowsOf(line) : 1;
}

int32_t TextView::CountRows(int32_t line) {
    return static_cast<int32_t>(RowStarts(line).size());
}

// Starts a new wrapped layout: every line estimated from its length, exact ones computed in
// idle slices (visible region first), so switching wrap on a huge document stays instant.
void TextView::ResetLayout() {
    cachedLine_ = -1;
    if (hwnd_)
        KillTimer(hwnd_, kLayoutTimer);
    const int32_t lineCount = model_.LineCount();
    if (!wordWrap_) {
        layout_.Unwrap(lineCount);
        top_.sub = 0;
        if (top_.line >= lineCount)
            top_.line = lineCount - 1;
        if (hwnd_)
            MeasureLongLinesLater(1);
        return;
    }
    const int64_t perRow = std::max<int64_t>(1, WrapWidth() / std::max(1, avgCharWidth_));
    layout_.Wrap(lineCount, [&](int32_t line) {
        const int64_t length = model_.LineEnd(line) - model_.LineStart(line);
        return static_cast<int32_t>(std::max<int64_t>(1, (length + perRow - 1) / perRow));
    });
    if (top_.line >= lineCount)
        top_ = {lineCount - 1, 0};
    top_.sub = std::min(top_.sub, RowsOf(top_.line) - 1);
    if (hwnd_ && !layout_.Complete())
        SetTimer(hwnd_, kLayoutTimer, 1, nullptr);
}

void TextView::LayoutSlice(int milliseconds) {
    const DWORD begin = GetTickCount();
    layout_.Slice(top_.line, top_.line + ClientRows(),
                  [&] { return static_cast<int>(GetTickCount() - begin) >= milliseconds; });
}

int32_t TextView::RowCount() const {
    return layout_.RowCount();
}

bool TextView::LayoutComplete() const {
    return layout_.Complete();
}

void TextView::CompleteLayout() {
    while (!LayoutComplete())
        LayoutSlice(1000);
    if (hwnd_) {
        KillTimer(hwnd_, kLayoutTimer);
        UpdateScrollBars();
    }
}

int32_t TextView::FirstVisibleRow() const {
    return layout_.PosToRow(top_);
}

// Typing inside the wrapped line whose rows are at hand rewraps only the rows around the edit,
// so a key costs the same in a line of 80 characters or of 20 million.
bool TextView::RewrapAfterTyping(int32_t position, int32_t removed, int32_t inserted, int32_t lineDelta) {
    if (!wordWrap_ || cachedLine_ < 0 || lineDelta != 0 || inserted > 64 ||
        model_.LineFromPosition(position) != cachedLine_)
        return false;
    const std::u16string typed = model_.Range(position, position + inserted);
    if (typed.find_first_of(u"\r\n") != std::u16string::npos)
        return false;
    const int32_t lineStart = model_.LineStart(cachedLine_);
    const int32_t length = model_.LineEnd(cachedLine_) - lineStart;
    if (length != cachedLength_ + inserted - removed)
        return false;
    cachedStarts_ = RewrapRows(
        cachedStarts_, position - lineStart, removed, inserted, length,
        [&](int32_t from, int32_t to) { return model_.Range(lineStart + from, lineStart + to); }, WrapWidth(),
        *this);
    cachedLength_ = length;
    return true;
}

} // namespace quillet::win32
