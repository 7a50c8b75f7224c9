// The view's rows: its font rebuilt at the window's DPI, where lines wrap at its width, and the
// layout and long-line widths kept up as the text changes.

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
    metrics_.Rebuild(model_.Font(), Dpi());
    maxWidthSeen_ = 0;
    lineWidths_.Forget();
    ResetLayout();
    if (hwnd_) {
        if (hasFocus_) {
            DestroyCaret();
            CreateCaret(hwnd_, nullptr, CaretWidth(), metrics_.LineHeight());
            caretShown_ = {-1, -1}; // a new caret starts nowhere
        }
        UpdateScrollBars();
        UpdateCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

int TextView::WrapWidth() const {
    RECT rc = ClientArea();
    return std::max<int>(metrics_.AverageWidth(), rc.right - 2 * metrics_.Margin());
}

int TextView::ClientRows() const {
    RECT rc = ClientArea();
    return std::max<int>(1, rc.bottom / metrics_.LineHeight());
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
    cachedStarts_ = WrapRows(model_.Range(start, end), WrapWidth(), metrics_);
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
    const int64_t perRow = std::max<int64_t>(1, WrapWidth() / std::max(1, metrics_.AverageWidth()));
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
    RewrapRows(
        cachedStarts_, position - lineStart, removed, inserted, length,
        [&](int32_t from, int32_t to) { return model_.Range(lineStart + from, lineStart + to); }, WrapWidth(),
        metrics_);
    cachedLength_ = length;
    return true;
}

// ---- What screen readers read by

int32_t TextView::RowStartAt(int32_t position) {
    const RowPos row = PositionRow(std::clamp(position, 0, model_.TextLength()));
    return model_.LineStart(row.line) + RowStarts(row.line)[size_t(row.sub)];
}

int32_t TextView::NextRowStart(int32_t position) {
    const RowPos row = PositionRow(std::clamp(position, 0, model_.TextLength()));
    const auto& starts = RowStarts(row.line);
    if (size_t(row.sub) + 1 < starts.size())
        return model_.LineStart(row.line) + starts[size_t(row.sub) + 1];
    return row.line + 1 < model_.LineCount() ? model_.LineStart(row.line + 1) : model_.TextLength();
}

int32_t TextView::RowsPerPage() {
    return std::max(1, ClientRows());
}

TextSpan TextView::VisibleSpan() {
    const int32_t first = model_.LineStart(top_.line) + RowStarts(top_.line)[size_t(top_.sub)];
    const RowPos last = layout_.AddRows(top_, std::max(0, ClientRows() - 1));
    int32_t begin = 0, end = 0;
    RowText(last.line, last.sub, &begin, &end, 0);
    return {first, end};
}

int TextView::XInRow(int32_t line, int32_t rowStart, int32_t position) {
    return wordWrap_ ? metrics_.MeasureRun(model_.Range(rowStart, position), 0)
                     : lineWidths_.XAt(line, position);
}

std::vector<RECT> TextView::SpanRectangles(TextSpan span) {
    std::vector<RECT> rectangles;
    const RECT client = ClientArea();
    RowPos row = top_;
    for (int y = 0; y < client.bottom; y += metrics_.LineHeight()) {
        int32_t begin = 0, end = 0;
        RowText(row.line, row.sub, &begin, &end, 0);
        // An empty span shows where it is: a wrapped row's end is the next row's start.
        const bool touches =
            span.start == span.end
                ? span.start >= begin &&
                      (span.start < end || (span.start == end && end == model_.LineEnd(row.line)))
                : std::max(begin, span.start) < std::min(end, span.end) ||
                      (begin == end && span.start <= begin && span.end > begin);
        if (touches) {
            const int from = XInRow(row.line, begin, std::max(begin, span.start));
            const int to = XInRow(row.line, begin, std::min(end, span.end));
            const int left = std::max<int>(0, metrics_.Margin() + from - xOffset_);
            const int right = std::min<int>(client.right, metrics_.Margin() + to - xOffset_);
            rectangles.push_back({left, y, std::max(left, right), y + metrics_.LineHeight()});
        }
        if (begin > span.end)
            break;
        const RowPos next = layout_.AddRows(row, 1);
        if (next == row)
            break;
        row = next;
    }
    return rectangles;
}

// Scrolled to as the caret would be, without moving the caret.
void TextView::ShowPosition(int32_t position) {
    const RowPos row = PositionRow(std::clamp(position, 0, model_.TextLength()));
    const int32_t rows = layout_.PosToRow(row) - layout_.PosToRow(top_);
    if (rows < 0 || rows >= ClientRows())
        ScrollTo(row, xOffset_);
}

} // namespace quillet::win32
