// What the view shows: where positions are on screen, painting the rows that need it, and
// scrolling.

#include "editor/win32/text_view.h"

#include "editor/control/caret_motion.h"
#include <imm.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

namespace quillet::win32 {
namespace {

// Where the user is dragging a scroll bar's thumb.
int TrackPosition(HWND hwnd, int bar) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd, bar, &si);
    return si.nTrackPos;
}

} // namespace

// The characters of one display row (without the line break); with maxChars, at most that many.
std::u16string TextView::RowText(int32_t line, int32_t sub, int32_t* rowStart, int32_t* rowEnd,
                                 int32_t maxChars) {
    const auto& starts = RowStarts(line);
    int32_t lineStart = model_.LineStart(line);
    int32_t begin = lineStart + starts[std::min<size_t>(sub, starts.size() - 1)];
    int32_t end =
        static_cast<size_t>(sub) + 1 < starts.size() ? lineStart + starts[sub + 1] : model_.LineEnd(line);
    *rowStart = begin;
    *rowEnd = end;
    if (maxChars >= 0 && end - begin > maxChars)
        end = begin + maxChars;
    return model_.Range(begin, end);
}

RowPos TextView::PositionRow(int32_t position) {
    int32_t line = model_.LineFromPosition(position);
    const auto& starts = RowStarts(line);
    int32_t offset = position - model_.LineStart(line);
    auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    return {line, static_cast<int32_t>(it - starts.begin()) - 1};
}

int TextView::XOfPosition(int32_t position) {
    RowPos rp = PositionRow(position);
    if (!wordWrap_)
        return lineWidths_.XAt(rp.line, position);
    const int32_t begin = model_.LineStart(rp.line) + RowStarts(rp.line)[rp.sub];
    return metrics_.MeasureRun(model_.Range(begin, position), 0);
}

int32_t TextView::PositionAtX(int32_t line, int32_t sub, int x) {
    int32_t begin = 0, end = 0;
    int cx = 0;
    std::u16string text;
    if (wordWrap_) {
        text = RowText(line, sub, &begin, &end, std::max(0, x) + 16);
    } else {
        // From the last measured point before x: every character is at least a pixel wide.
        LineWidths::Point from = lineWidths_.ChunkAtX(line, x);
        begin = from.position;
        cx = from.x;
        end = model_.LineEnd(line);
        text = model_.Range(begin, std::min<int64_t>(end, int64_t(begin) + std::max(0, x - cx) + 16));
    }
    int32_t i = 0;
    const int32_t n = static_cast<int32_t>(text.size());
    while (i < n) {
        int adv = metrics_.Advance(text[i], cx);
        int32_t next = i + 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && next < n)
            ++next;
        if (x < cx + adv / 2 + adv % 2)
            break;
        cx += adv;
        i = next;
    }
    int32_t pos = begin + i;
    // A wrapped row's end is the next row's start: stay on this row.
    if (pos >= end && end != model_.LineEnd(line) && pos > begin)
        pos = end - 1;
    return std::min(pos, end);
}

int32_t TextView::PositionAtPoint(int x, int y) {
    int rowsDown =
        y >= 0 ? y / metrics_.LineHeight() : -((-y + metrics_.LineHeight() - 1) / metrics_.LineHeight());
    RowPos rp = layout_.AddRows(top_, rowsDown);
    return PositionAtX(rp.line, rp.sub, x - metrics_.Margin() + xOffset_);
}

POINT TextView::CaretPoint() {
    int32_t caret = model_.Caret();
    RowPos rp = PositionRow(caret);
    int32_t row = layout_.PosToRow(rp) - layout_.PosToRow(top_);
    return POINT{metrics_.Margin() + XOfPosition(caret) - xOffset_, row * metrics_.LineHeight()};
}

void TextView::UpdateCaret() {
    if (!hwnd_ || !hasFocus_)
        return;
    POINT pt = CaretPoint();
    if (pt.x != caretShown_.x || pt.y != caretShown_.y) { // a system call each time under Wine
        SetCaretPos(pt.x, pt.y);
        InvalidateCaretAt(caretShown_);
        InvalidateCaretAt(pt);
        caretShown_ = pt;
    } else if (!caretOn_) {
        InvalidateCaretAt(pt);
    }
    caretOn_ = true;
    caretMovedAt_ = GetTickCount();
    if (composing_)
        PlaceComposition(pt);
}

void TextView::ShowFocus(bool focused) {
    hasFocus_ = focused;
    if (focused) {
        CreateCaret(hwnd_, nullptr, CaretWidth(), metrics_.LineHeight());
        caretShown_ = {-1, -1}; // a new caret starts nowhere
        UpdateCaret();
        const UINT blink = GetCaretBlinkTime();
        blinkMs_ = blink == INFINITE ? 0 : blink;
        if (blinkMs_ > 0)
            SetTimer(hwnd_, kBlinkTimer, blinkMs_, nullptr);
    } else {
        KillTimer(hwnd_, kBlinkTimer);
        DestroyCaret();
    }
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int TextView::CaretWidth() const {
    return std::max(1, Dpi() / 96);
}

void TextView::InvalidateCaretAt(POINT pt) {
    const int height = metrics_.LineHeight();
    if (pt.x < 0 || pt.y + height <= 0 || pt.y >= ClientArea().bottom)
        return;
    if (pt.y / height >= invalidFrom_ && (pt.y + height - 1) / height <= invalidTo_)
        return;
    RECT rc{pt.x, pt.y, pt.x + CaretWidth(), pt.y + height};
    InvalidateRect(hwnd_, &rc, FALSE);
}

void TextView::OnBlink() {
    if (!hasFocus_ || GetTickCount() - caretMovedAt_ < blinkMs_)
        return;
    caretOn_ = !caretOn_;
    InvalidateCaretAt(caretShown_);
}

// Keeps an input method's composition window at the caret; asked only while a composition is
// open, so that plain typing pays nothing for it.
void TextView::PlaceComposition(POINT caret) {
    if (HIMC imc = ImmGetContext(hwnd_)) {
        COMPOSITIONFORM cf{};
        cf.dwStyle = CFS_POINT;
        cf.ptCurrentPos = caret;
        ImmSetCompositionWindow(imc, &cf);
        ImmReleaseContext(hwnd_, imc);
    }
}

void TextView::ScrollToCaret() {
    if (!hwnd_)
        return;
    int32_t caret = model_.Caret();
    RowPos rp = PositionRow(caret);
    RowPos top = top_;
    int rows = ClientRows();
    int32_t caretRow = layout_.PosToRow(rp);
    int32_t topRow = layout_.PosToRow(top);
    if (caretRow < topRow)
        top = rp;
    else if (caretRow >= topRow + rows)
        top = layout_.AddRows(rp, -(rows - 1));
    int x = xOffset_;
    const int widest = maxWidthSeen_;
    if (!wordWrap_) {
        RECT rc = ClientArea();
        int width = std::max<int>(metrics_.AverageWidth(), rc.right - 2 * metrics_.Margin());
        int cx = XOfPosition(caret);
        if (cx < x)
            x = std::max(0, cx - width / 4);
        else if (cx >= x + width)
            x = cx - width + width / 4;
        maxWidthSeen_ = std::max(maxWidthSeen_, cx);
    } else {
        x = 0;
    }
    if (top == top_ && std::max(0, x) == xOffset_) {
        if (maxWidthSeen_ != widest)
            UpdateScrollBars(); // the caret went further right than any row was seen to reach
        return;
    }
    ScrollTo(top, x);
}

void TextView::ScrollTo(RowPos top, int xOffset) {
    xOffset = std::max(0, xOffset);
    if (!(top == top_) || xOffset != xOffset_) {
        const int64_t rows = int64_t(layout_.PosToRow(top)) - layout_.PosToRow(top_);
        const bool sideways = xOffset != xOffset_;
        top_ = top;
        xOffset_ = xOffset;
        if (hwnd_) {
            // Moved by less than a page: what still shows is moved, and only the strip that
            // comes into view is drawn.
            if (!sideways && rows != 0 && std::abs(rows) < ClientRows()) {
                const int dy = int(-rows * metrics_.LineHeight());
                ScrollWindowEx(hwnd_, 0, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
                // What was invalid moved too, and so did the drawn caret.
                invalidTo_ = -1;
                InvalidateCaretAt({caretShown_.x, caretShown_.y + dy});
            } else
                InvalidateRect(hwnd_, nullptr, FALSE);
            UpdateCaret();
        }
        UpdateScrollBars(); // the bars follow only a move: a key that moves nothing pays nothing
    }
}

// Setting scroll bars is slow under Wine (tens of milliseconds), so only changes are passed on.
void TextView::UpdateScrollBars() {
    if (!hwnd_)
        return;
    RECT rc = ClientArea();
    int width = std::max<int>(1, rc.right - 2 * metrics_.Margin());
    if (!wordWrap_) {
        // The lines on screen, whether painted yet or not; a long one as far as it is measured.
        const int32_t last = std::min(layout_.LineCount() - 1, top_.line + ClientRows());
        for (int32_t line = top_.line; line <= last; ++line)
            maxWidthSeen_ = int(std::clamp<int64_t>(lineWidths_.EstimatedWidth(line, metrics_.AverageWidth()),
                                                    maxWidthSeen_, std::numeric_limits<int>::max() / 4));
    }
    ScrollState now;
    now.vMax = std::max(0, RowCount() - 1);
    now.vPage = ClientRows();
    now.vPos = FirstVisibleRow();
    // Typing at the end of the longest line widens it by a character a key; the range grows in
    // steps of a quarter page so that not every key pays for a SetScrollInfo.
    const int step = std::max(1, width / 4);
    const int widest = (maxWidthSeen_ + metrics_.AverageWidth() + step - 1) / step * step;
    now.hMax = wordWrap_ ? 0 : std::max(widest, xOffset_ + width);
    now.hPage = wordWrap_ ? 0 : width;
    now.hPos = xOffset_;

    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    if (now.vMax != scroll_.vMax || now.vPage != scroll_.vPage || now.vPos != scroll_.vPos) {
        si.nMax = now.vMax;
        si.nPage = static_cast<UINT>(now.vPage);
        si.nPos = now.vPos;
        SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
    }
    if (now.hMax != scroll_.hMax || now.hPage != scroll_.hPage || now.hPos != scroll_.hPos) {
        si.nMax = now.hMax;
        si.nPage = static_cast<UINT>(now.hPage);
        si.nPos = now.hPos;
        SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
    }
    scroll_ = now;
}

// Rows fromRow..toRow of the whole text, as far as they show.
void TextView::InvalidateRows(int32_t fromRow, int32_t toRow) {
    const int32_t topRow = layout_.PosToRow(top_);
    const int64_t first = std::max<int64_t>(0, int64_t(fromRow) - topRow);
    const int64_t last = std::min<int64_t>(ClientRows() + 1, int64_t(toRow) - topRow);
    if (first > last)
        return;
    RECT rc = ClientArea();
    RECT rows{0, LONG(first * metrics_.LineHeight()), rc.right,
              LONG(std::min<int64_t>(rc.bottom, (last + 1) * metrics_.LineHeight()))};
    InvalidateRect(hwnd_, &rows, FALSE);
    if (invalidFrom_ > invalidTo_) {
        invalidFrom_ = int32_t(first);
        invalidTo_ = int32_t(last);
    } else {
        invalidFrom_ = std::min(invalidFrom_, int32_t(first));
        invalidTo_ = std::max(invalidTo_, int32_t(last));
    }
}

void TextView::OnSize() {
    if (wordWrap_)
        ResetLayout();
    ScrollToCaret();
    UpdateScrollBars();
    UpdateCaret();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextView::OnPaint() {
    const int widthBefore = maxWidthSeen_;
    {
        PaintDc target(hwnd_);
        invalidTo_ = -1; // everything invalid is painted now
        RECT rc = ClientArea();
        // Only the rows that need it, drawn off-screen first so typing never flickers.
        const RECT& area = target.Area();
        const int firstRow = std::max<LONG>(0, area.top) / metrics_.LineHeight();
        const int lastRow = std::max<LONG>(area.top, area.bottom - 1) / metrics_.LineHeight();
        const int height = (lastRow - firstRow + 1) * metrics_.LineHeight();
        if (!backDc_ || backSize_.cx < rc.right || backSize_.cy < height) {
            // Room for the whole client area, so a resize rarely makes it again.
            backSelect_.reset();
            backSize_ = {std::max<LONG>(1, rc.right),
                         std::max<LONG>(height, rc.bottom + metrics_.LineHeight())};
            backDc_.Reset(CreateCompatibleDC(target));
            backBitmap_.Reset(CreateCompatibleBitmap(target, backSize_.cx, backSize_.cy));
            backSelect_.emplace(backDc_, backBitmap_);
        }
        HDC dc = backDc_;
        SelectInDc selectFont(dc, metrics_.Font());
        RECT strip{0, 0, rc.right, height};
        FillRect(dc, &strip, GetSysColorBrush(COLOR_WINDOW));

        int32_t selFrom = model_.SelStart();
        int32_t selTo = selFrom + model_.SelLength();
        RowPos row = layout_.AddRows(top_, firstRow);
        const bool pastTheEnd = layout_.PosToRow(row) - layout_.PosToRow(top_) < firstRow;
        for (int y = 0; y < height && !pastTheEnd; y += metrics_.LineHeight()) {
            DrawRow(dc, y, row.line, row.sub, selFrom, selTo, rc.right);
            RowPos next = layout_.AddRows(row, 1);
            if (next == row)
                break;
            row = next;
        }
        const int caretY = caretShown_.y - firstRow * metrics_.LineHeight();
        if (hasFocus_ && caretOn_ && caretShown_.x >= 0 && caretY + metrics_.LineHeight() > 0 &&
            caretY < height)
            PatBlt(dc, caretShown_.x, caretY, CaretWidth(), metrics_.LineHeight(), DSTINVERT);
        BitBlt(target, 0, firstRow * metrics_.LineHeight(), rc.right, height, dc, 0, 0, SRCCOPY);
        shownSelection_ = {selFrom, selTo};
    }
    // Rows are measured as they are drawn: a wider row found here widens the scroll range.
    if (maxWidthSeen_ != widthBefore)
        UpdateScrollBars();
}

// What of a row shows: the characters from the row's start (or, on a long line, from the chunk
// before the visible span) to the right edge, with each one's x, advance and glyph.
TextView::ShownRow TextView::MeasureShownRow(int32_t line, int32_t sub, int clientWidth) {
    ShownRow row;
    int x = 0;
    if (wordWrap_) {
        row.text = RowText(line, sub, &row.begin, &row.end);
    } else {
        // Only what shows of a line is measured and drawn, however long the line is.
        LineWidths::Point from = lineWidths_.ChunkAtX(line, xOffset_);
        row.begin = from.position;
        x = from.x;
        row.end = model_.LineEnd(line);
        const int64_t shown = int64_t(xOffset_) + clientWidth - x + 16; // characters are a pixel or wider
        row.text = model_.Range(row.begin,
                                int32_t(std::min<int64_t>(row.end, row.begin + std::max<int64_t>(0, shown))));
    }
    int32_t n = static_cast<int32_t>(row.text.size());
    row.dx.resize(static_cast<size_t>(n));
    row.glyphs.assign(static_cast<size_t>(n), L' ');
    row.xs.resize(static_cast<size_t>(n) + 1);
    const int rightEdge = xOffset_ + clientWidth;
    for (int32_t i = 0; i < n; ++i) {
        char16_t c = row.text[i];
        int adv = metrics_.Advance(c, x);
        row.xs[i] = x;
        row.dx[i] = adv;
        row.glyphs[i] = (c == u'\t' || IsControl(c)) ? L' ' : static_cast<wchar_t>(c);
        x += adv;
        if (!wordWrap_ && x > rightEdge && !(c >= 0xD800 && c <= 0xDBFF)) {
            n = i + 1; // the rest is off to the right
            break;
        }
    }
    row.xs[n] = x;
    row.count = n;
    // A row cut short for drawing is wider still, so the scroll bar must show that more follows.
    if (!wordWrap_) {
        const int64_t width =
            row.end - row.begin == n
                ? x
                : std::max<int64_t>(x + metrics_.AverageWidth(),
                                    lineWidths_.EstimatedWidth(line, metrics_.AverageWidth()));
        maxWidthSeen_ =
            std::max<int64_t>(maxWidthSeen_, std::min<int64_t>(width, std::numeric_limits<int>::max() / 4));
    }
    return row;
}

// One display row: the text with tabs expanded, control characters as boxes, and the
// selection in the highlight colours (greyed while the control has no focus).
void TextView::DrawRow(HDC dc, int y, int32_t line, int32_t sub, int32_t selFrom, int32_t selTo,
                       int clientWidth) {
    const ShownRow row = MeasureShownRow(line, sub, clientWidth);
    const int32_t begin = row.begin, end = row.end, n = row.count;
    const std::vector<int>& xs = row.xs;
    const int x = xs[size_t(n)];
    const int left = metrics_.Margin() - xOffset_;
    const COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF backColor = GetSysColor(COLOR_WINDOW);
    // Without the focus the selection greys, unless grey would not stand out from the background,
    // as in some high-contrast schemes.
    const bool highlight = hasFocus_ || GetSysColor(COLOR_BTNFACE) == backColor;
    const int selTextIndex = highlight ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
    const COLORREF selText = GetSysColor(selTextIndex);
    const COLORREF selBack = GetSysColor(highlight ? COLOR_HIGHLIGHT : COLOR_BTNFACE);

    // The characters left of the window (a long line is measured from a chunk before it) are
    // not handed to the system at all.
    const int32_t firstShown =
        static_cast<int32_t>(std::upper_bound(xs.begin(), xs.begin() + n, xOffset_ - 1) - xs.begin()) - 1;
    auto drawRun = [&](int32_t a, int32_t b, bool selected) {
        a = std::max(a, std::max(0, firstShown));
        if (a >= b)
            return;
        SetTextColor(dc, selected ? selText : textColor);
        SetBkColor(dc, selected ? selBack : backColor);
        RECT r{left + xs[a], y, left + xs[b], y + metrics_.LineHeight()};
        if (r.right < 0 || r.left > clientWidth)
            return;
        ExtTextOutW(dc, left + xs[a], y, ETO_OPAQUE | ETO_CLIPPED, &r, row.glyphs.data() + a,
                    static_cast<UINT>(b - a), row.dx.data() + a);
    };
    int32_t a = std::clamp(selFrom - begin, 0, n);
    int32_t b = std::clamp(selTo - begin, 0, n);
    drawRun(0, a, false);
    drawRun(a, b, true);
    drawRun(b, n, false);

    // A NUL or another control character never cuts the line: it shows as a small box, grey, or in
    // the selection's text colour where grey might not show on the highlight.
    for (int32_t i = 0; i < n; ++i) {
        if (!IsControl(row.text[i]))
            continue;
        int w = row.dx[i];
        RECT box{left + xs[i] + w / 6, y + metrics_.LineHeight() / 4, left + xs[i] + w - w / 6,
                 y + metrics_.LineHeight() * 3 / 4};
        FrameRect(dc, &box, GetSysColorBrush(i >= a && i < b ? selTextIndex : COLOR_GRAYTEXT));
    }

    // A selected line break shows as a highlighted space after the row's text.
    int32_t lineEnd = model_.LineEnd(line);
    if (end == lineEnd && lineEnd < model_.TextLength() && selFrom <= lineEnd && selTo > lineEnd &&
        end - begin == n) {
        RECT r{left + x, y, left + x + std::max(1, metrics_.CharWidth(u' ')), y + metrics_.LineHeight()};
        SetBkColor(dc, selBack);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
}

void TextView::OnWheel(int delta, bool horizontal) {
    wheelRest_ += delta;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    int notches = wheelRest_ / WHEEL_DELTA;
    if (notches == 0)
        return;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (horizontal) {
        if (!wordWrap_)
            ScrollTo(top_, std::max(0, xOffset_ - notches * metrics_.AverageWidth() * 4));
        return;
    }
    int rows = lines == WHEEL_PAGESCROLL ? ClientRows() : static_cast<int>(lines);
    ScrollTo(layout_.AddRows(top_, -notches * rows), xOffset_);
}

void TextView::OnScroll(int bar, int code) {
    if (bar == SB_VERT) {
        int page = ClientRows();
        RowPos top = top_;
        switch (code) {
        case SB_LINEUP: top = layout_.AddRows(top_, -1); break;
        case SB_LINEDOWN: top = layout_.AddRows(top_, 1); break;
        case SB_PAGEUP: top = layout_.AddRows(top_, -page); break;
        case SB_PAGEDOWN: top = layout_.AddRows(top_, page); break;
        case SB_TOP: top = {0, 0}; break;
        case SB_BOTTOM: top = layout_.AddRows(layout_.RowToPos(RowCount() - 1), -(page - 1)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top = layout_.RowToPos(TrackPosition(hwnd_, SB_VERT)); break;
        default: return;
        }
        ScrollTo(top, xOffset_);
        return;
    }
    if (wordWrap_)
        return;
    RECT rc = ClientArea();
    int x = xOffset_;
    switch (code) {
    case SB_LINELEFT: x -= metrics_.AverageWidth(); break;
    case SB_LINERIGHT: x += metrics_.AverageWidth(); break;
    case SB_PAGELEFT: x -= rc.right / 2; break;
    case SB_PAGERIGHT: x += rc.right / 2; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: x = TrackPosition(hwnd_, SB_HORZ); break;
    default: return;
    }
    ScrollTo(top_, std::max(0, x));
}

} // namespace quillet::win32
