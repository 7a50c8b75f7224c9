#include "editor/win32/text_view.h"

#include "editor/control/caret_motion.h"
#include "editor/control/line_widths.h"
#include "editor/win32/dpi.h"
#include "editor/win32/wide.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillet::win32 {

namespace {

// Rich-edit's word-wrap message (richedit.h is not needed for one constant), and a message of
// newer systems than we build for.
constexpr UINT kEmSetTargetDevice = WM_USER + 72;
constexpr UINT kWmDpiChangedAfterParent = 0x02E3;

constexpr UINT_PTR kLayoutTimer = 1;
constexpr UINT_PTR kMeasureTimer = 3;
constexpr UINT_PTR kDragTimer = 2;
constexpr int kTabColumns = 8;
constexpr int kSliceMs = 15;

bool IsWordCharacter(char16_t c) {
    return c == u'_' || IsCharAlphaNumericW(static_cast<wchar_t>(c));
}

} // namespace

bool TextView::Register(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(instance, kClassName, &wc))
        return true;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TextView::WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
    wc.hbrBackground = nullptr; // we paint every pixel
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
}

TextView::TextView(Clipboard& clipboard) : clipboard_(clipboard) {
    model_.SetObserver(this);
    model_.SetEvents(this);
    widths_.assign(0x10000, 0);
}

TextView::~TextView() {
    model_.SetObserver(nullptr);
    model_.SetEvents(nullptr);
    DestroyDetached();
}

bool TextView::Create(HWND parent, int id, HINSTANCE instance) {
    if (!Register(instance))
        return false;
    id_ = id;
    HWND hwnd = CreateWindowExW(0, kClassName, L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, 0, 0, 100, 100,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
    return hwnd != nullptr;
}

LRESULT TextView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: RebuildFont(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE: OnSize(); return 0;
    case WM_SETFOCUS:
        hasFocus_ = true;
        CreateCaret(hwnd_, nullptr, std::max(1, Dpi() / 96), lineHeight_);
        UpdateCaret();
        ShowCaret(hwnd_);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        hasFocus_ = false;
        DestroyCaret();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (OnKeyMessage(wParam) == 0 || msg == WM_KEYDOWN) {
            // F10 comes as a system key: unless swallowed it goes on to open the menu bar.
            if (msg == WM_SYSKEYDOWN && wParam == VK_F10 && !keySwallowed_)
                break;
            return 0;
        }
        break;
    case WM_CHAR:
        if (inKeyHandler_) {
            heldChars_.emplace_back(msg, wParam);
            return 0;
        }
        return OnChar(static_cast<wchar_t>(wParam));
    case WM_SYSCHAR:
        if (inKeyHandler_) {
            heldChars_.emplace_back(msg, wParam);
            return 0;
        }
        if (swallowChar_) {
            swallowChar_ = false;
            return 0;
        }
        break;
    case WM_IME_CHAR: return OnChar(static_cast<wchar_t>(wParam));
    case WM_IME_COMPOSITION:
        if (lParam & GCS_RESULTSTR) {
            OnImeComposition(lParam);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        OnMouseButton(kLeftButton, lParam);
        OnLeftDown(lParam, false);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnMouseButton(kLeftButton, lParam);
        OnLeftDown(lParam, true);
        return 0;
    case WM_RBUTTONDOWN: OnMouseButton(kRightButton, lParam); return 0;
    case WM_MBUTTONDOWN: OnMouseButton(kMiddleButton, lParam); return 0;
    case WM_CONTEXTMENU: return 0; // the editor's menu comes from MouseDown and KeyDown, not from here
    case WM_MOUSEMOVE: OnMouseMove(lParam); return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            KillTimer(hwnd_, kDragTimer);
            if (msg == WM_LBUTTONUP)
                ReleaseCapture();
        }
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0);
        return 0;
    case WM_MOUSEHWHEEL: OnWheel(-GET_WHEEL_DELTA_WPARAM(wParam), true); return 0;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_SETTEXT:
        model_.SetText(lParam ? std::u16string(reinterpret_cast<const char16_t*>(lParam)) : std::u16string());
        return TRUE;
    case WM_GETTEXT: return OnGetText(wParam, lParam);
    case WM_GETTEXTLENGTH: return model_.TextLength();
    case EM_GETSEL: return OnGetSel(wParam, lParam);
    case EM_SETSEL: OnSetSel(wParam, lParam); return 0;
    case EM_REPLACESEL:
        model_.ReplaceSelection(lParam ? std::u16string_view(reinterpret_cast<const char16_t*>(lParam))
                                       : std::u16string_view(),
                                EditKind::Program);
        return 0;
    case EM_SCROLLCARET: ScrollToCaret(); return 0;
    case EM_UNDO:
    case WM_UNDO: {
        bool could = model_.CanUndo();
        model_.Undo();
        return could;
    }
    case EM_CANUNDO: return model_.CanUndo();
    case kEmSetTargetDevice:
        SetWordWrap(lParam == 0); // 0 wraps at the window's edge, 1 never wraps
        return TRUE;
    case EM_GETLINECOUNT: return model_.LineCount();
    case EM_LINEFROMCHAR:
        return model_.LineFromPosition(static_cast<int32_t>(wParam) < 0 ? model_.Caret()
                                                                        : static_cast<int32_t>(wParam));
    case EM_LINEINDEX: {
        int32_t line = static_cast<int32_t>(wParam) < 0 ? model_.LineFromPosition(model_.Caret())
                                                        : static_cast<int32_t>(wParam);
        return line < model_.LineCount() ? model_.LineStart(line) : -1;
    }
    case WM_COPY: Copy(); return 0;
    case WM_CUT: Cut(); return 0;
    case WM_PASTE: Paste(); return 0;
    case WM_CLEAR: Clear(); return 0;
    case kWmDpiChangedAfterParent: RebuildFont(); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// ---- TextControl pieces that need the window

void TextView::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!hwnd_)
        return;
    int dpi = Dpi();
    MoveWindow(hwnd_, PixelsFromTwips(left, dpi), PixelsFromTwips(top, dpi), PixelsFromTwips(width, dpi),
               PixelsFromTwips(height, dpi), TRUE);
}

bool TextView::SetFocus() {
    if (!hwnd_)
        return false;
    ::SetFocus(hwnd_);
    return GetFocus() == hwnd_;
}

// ---- Model notifications

// The model has already changed when it tells the view, so the view must not fail it: short of
// memory for the wrapped layout, it falls back to one row per line until the layout is rebuilt.
void TextView::OnTextChanged(int32_t position, int32_t removed, int32_t inserted) {
    try {
        FollowEdit(position, removed, inserted);
    } catch (const std::bad_alloc&) {
        ForgetLayout();
    }
}

void TextView::ForgetLayout() noexcept {
    cachedLine_ = -1;
    lineWidths_.Forget();
    layout_.Unwrap(model_.LineCount());
    if (top_.line >= layout_.LineCount())
        top_.line = layout_.LineCount() - 1;
    top_.sub = 0;
    if (hwnd_) {
        KillTimer(hwnd_, kLayoutTimer);
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void TextView::FollowEdit(int32_t position, int32_t removed, int32_t inserted) {
    // A whole new text (a load, New, or everything deleted) forgets the old text's widest row.
    if (position == 0 && inserted == model_.TextLength())
        maxWidthSeen_ = 0;
    const int32_t delta = model_.LineCount() - layout_.LineCount();
    if (!RewrapAfterTyping(position, removed, inserted, delta))
        cachedLine_ = -1;
    lineWidths_.Edited(position, delta);
    const int32_t first = model_.LineFromPosition(std::min(position, model_.TextLength()));
    const int32_t newLast = model_.LineFromPosition(std::min(position + inserted, model_.TextLength()));
    const int32_t rowsBefore = layout_.RowCount();
    bool rowsMoved = delta != 0 || (position == 0 && inserted == model_.TextLength());
    if (!layout_.Splice(first, newLast - delta, newLast)) {
        ResetLayout();
        rowsMoved = true;
    } else if (!wordWrap_ && hwnd_) {
        SetTimer(hwnd_, kMeasureTimer, 50, nullptr); // once typing pauses
    }
    rowsMoved = rowsMoved || layout_.RowCount() != rowsBefore;
    const int32_t lineCount = layout_.LineCount();
    if (top_.line >= lineCount)
        top_ = {lineCount - 1, 0};
    if (top_.sub >= RowsOf(top_.line))
        top_.sub = RowsOf(top_.line) - 1;
    // The caret may still be where it was before the edit; it is placed once the write ends.
    if (hwnd_) {
        UpdateScrollBars();
        // The rows the edit changed (from the row before its own: a word can move up), and the
        // rows below only when they moved.
        const int32_t from = std::max(0, layout_.PosToRow(PositionRow(position)) - 1);
        const int32_t to = rowsMoved ? std::numeric_limits<int32_t>::max()
                                     : layout_.PosToRow({newLast, RowsOf(newLast) - 1});
        InvalidateRows(from, to);
    }
}

// Rows fromRow..toRow of the whole text, as far as they show.
void TextView::InvalidateRows(int32_t fromRow, int32_t toRow) {
    const int32_t topRow = layout_.PosToRow(top_);
    const int64_t first = std::max<int64_t>(0, int64_t(fromRow) - topRow);
    const int64_t last = std::min<int64_t>(ClientRows() + 1, int64_t(toRow) - topRow);
    if (first > last)
        return;
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    RECT rows{0, LONG(first * lineHeight_), rc.right,
              LONG(std::min<int64_t>(rc.bottom, (last + 1) * lineHeight_))};
    InvalidateRect(hwnd_, &rows, FALSE);
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

void TextView::OnChange() {
    if (hwnd_)
        IfMemoryAllows([&] { UpdateCaret(); });
    if (events_)
        events_->OnChange();
    if (hwnd_)
        SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(id_, EN_CHANGE),
                     reinterpret_cast<LPARAM>(hwnd_));
}

bool TextView::OnKeyDown(int32_t keyCode, int32_t shift) {
    return events_ && events_->OnKeyDown(keyCode, shift);
}

void TextView::OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) {
    if (events_)
        events_->OnMouseDown(button, shift, x, y);
}

void TextView::OnSelectionChanged() {
    desiredX_ = -1;
    if (!hwnd_)
        return;
    IfMemoryAllows([&] {
        ScrollToCaret();
        UpdateCaret();
        // The caret is the system's; only a highlight that changed needs drawing.
        const int32_t from = model_.SelStart(), to = from + model_.SelLength();
        const Selection& shown = shownSelection_;
        if (from == shown.from && to == shown.to)
            return;
        if (from == to && shown.from == shown.to)
            return;
        const int32_t changedFrom = from == shown.from ? std::min(to, shown.to) : std::min(from, shown.from);
        const int32_t changedTo = to == shown.to ? std::max(from, shown.from) : std::max(to, shown.to);
        const int32_t length = model_.TextLength();
        InvalidateRows(layout_.PosToRow(PositionRow(std::min(changedFrom, length))),
                       layout_.PosToRow(PositionRow(std::min(changedTo, length))));
    });
}

void TextView::OnFontChanged() {
    IfMemoryAllows([&] { RebuildFont(); });
}

void TextView::SetWordWrap(bool wrap) {
    wordWrap_ = wrap;
    xOffset_ = 0;
    IfMemoryAllows([&] {
        ResetLayout();
        if (hwnd_) {
            ScrollToCaret();
            UpdateScrollBars();
            UpdateCaret();
        }
    });
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---- Fonts and measuring

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

// ---- Layout

int TextView::WrapWidth() const {
    RECT rc{};
    if (hwnd_)
        GetClientRect(hwnd_, &rc);
    return std::max<int>(avgCharWidth_, rc.right - 2 * margin_);
}

int TextView::ClientRows() const {
    RECT rc{};
    if (hwnd_)
        GetClientRect(hwnd_, &rc);
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
            SetTimer(hwnd_, kMeasureTimer, 1, nullptr);
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

// ---- Positions and geometry

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
    return MeasureRun(model_.Range(begin, position), 0);
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
        int adv = Advance(text[i], cx);
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
    int rowsDown = y >= 0 ? y / lineHeight_ : -((-y + lineHeight_ - 1) / lineHeight_);
    RowPos rp = layout_.AddRows(top_, rowsDown);
    return PositionAtX(rp.line, rp.sub, x - margin_ + xOffset_);
}

POINT TextView::CaretPoint() {
    int32_t caret = model_.Caret();
    RowPos rp = PositionRow(caret);
    int32_t row = layout_.PosToRow(rp) - layout_.PosToRow(top_);
    return POINT{margin_ + XOfPosition(caret) - xOffset_, row * lineHeight_};
}

void TextView::UpdateCaret() {
    if (!hwnd_ || !hasFocus_)
        return;
    POINT pt = CaretPoint();
    SetCaretPos(pt.x, pt.y);
    // Keep an input method's composition window at the caret.
    if (HIMC imc = ImmGetContext(hwnd_)) {
        COMPOSITIONFORM cf{};
        cf.dwStyle = CFS_POINT;
        cf.ptCurrentPos = pt;
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
    if (!wordWrap_) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        int width = std::max<int>(avgCharWidth_, rc.right - 2 * margin_);
        int cx = XOfPosition(caret);
        if (cx < x)
            x = std::max(0, cx - width / 4);
        else if (cx >= x + width)
            x = cx - width + width / 4;
        maxWidthSeen_ = std::max(maxWidthSeen_, cx);
    } else {
        x = 0;
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
            if (!sideways && rows != 0 && std::abs(rows) < ClientRows())
                ScrollWindowEx(hwnd_, 0, int(-rows * lineHeight_), nullptr, nullptr, nullptr, nullptr,
                               SW_INVALIDATE);
            else
                InvalidateRect(hwnd_, nullptr, FALSE);
            UpdateCaret();
        }
    }
    UpdateScrollBars();
}

// Setting scroll bars is slow under Wine (tens of milliseconds), so only changes are passed on.
void TextView::UpdateScrollBars() {
    if (!hwnd_)
        return;
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    int width = std::max<int>(1, rc.right - 2 * margin_);
    if (!wordWrap_) {
        // The lines on screen, whether painted yet or not; a long one as far as it is measured.
        const int32_t last = std::min(layout_.LineCount() - 1, top_.line + ClientRows());
        for (int32_t line = top_.line; line <= last; ++line)
            maxWidthSeen_ = int(std::clamp<int64_t>(lineWidths_.EstimatedWidth(line, avgCharWidth_),
                                                    maxWidthSeen_, std::numeric_limits<int>::max() / 4));
    }
    ScrollState now;
    now.vMax = std::max(0, RowCount() - 1);
    now.vPage = ClientRows();
    now.vPos = FirstVisibleRow();
    // Typing at the end of the longest line widens it by a character a key; the range grows in
    // steps of a quarter page so that not every key pays for a SetScrollInfo.
    const int step = std::max(1, width / 4);
    const int widest = (maxWidthSeen_ + avgCharWidth_ + step - 1) / step * step;
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

void TextView::SelectWordAt(int32_t pos) {
    WordRange word = WordAt(model_, pos, IsWordCharacter);
    model_.SetSelection(word.from, word.to);
}

void TextView::MoveCaret(int32_t caret, bool extend, bool keepDesiredX) {
    int keep = desiredX_;
    model_.BreakUndoRun();
    model_.SetSelection(extend ? model_.Anchor() : caret, caret);
    if (keepDesiredX)
        desiredX_ = keep;
}

int16_t TextView::ShiftState() const {
    int16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= kShiftMask;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= kCtrlMask;
    if (GetKeyState(VK_MENU) < 0)
        shift |= kAltMask;
    return shift;
}

// ---- Keyboard

LRESULT TextView::OnKeyMessage(WPARAM key) {
    const int32_t keyCode = static_cast<int32_t>(key);
    const int32_t shift = ShiftState();
    swallowChar_ = false;
    keySwallowed_ = false;
    if (TextControlEvents* events = events_) {
        // A handler that pumps can let further keys through; each keeps its own characters.
        bool outerInHandler = inKeyHandler_;
        std::vector<std::pair<UINT, WPARAM>> outerHeld;
        outerHeld.swap(heldChars_);
        inKeyHandler_ = true;
        const bool swallowed = events->OnKeyDown(keyCode, shift);
        inKeyHandler_ = outerInHandler;
        std::vector<std::pair<UINT, WPARAM>> held;
        held.swap(heldChars_);
        heldChars_.swap(outerHeld);
        bool ownCharCame = !held.empty();
        // The first character that came is the key's own: gone with a swallowed key.
        if (swallowed && ownCharCame)
            held.erase(held.begin());
        if (hwnd_)
            for (auto [msg, ch] : held) // after the key, as they would have come
                PostMessageW(hwnd_, msg, ch, 1);
        keySwallowed_ = swallowed;
        if (swallowed) {
            // And the character the key would type, unless it already came during the handler.
            swallowChar_ = !ownCharCame;
            return 0;
        }
        if (!hwnd_)
            return 0; // the handler closed the window
    }
    const bool ext = (shift & kShiftMask) != 0;
    const bool ctrl = (shift & kCtrlMask) != 0;
    if (shift & kAltMask)
        return 1;
    int32_t caret = model_.Caret();
    switch (keyCode) {
    case VK_LEFT:
        if (!ext && model_.SelLength() > 0 && !ctrl)
            MoveCaret(std::min(model_.Anchor(), caret), false);
        else
            MoveCaret(ctrl ? WordLeft(model_, caret, IsWordCharacter) : PreviousPosition(model_, caret), ext);
        return 0;
    case VK_RIGHT:
        if (!ext && model_.SelLength() > 0 && !ctrl)
            MoveCaret(std::max(model_.Anchor(), caret), false);
        else
            MoveCaret(ctrl ? WordRight(model_, caret, IsWordCharacter) : NextPosition(model_, caret), ext);
        return 0;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT: {
        if (ctrl && (keyCode == VK_UP || keyCode == VK_DOWN)) {
            // Ctrl+Up/Down scroll by a row without moving the caret.
            ScrollTo(layout_.AddRows(top_, keyCode == VK_UP ? -1 : 1), xOffset_);
            return 0;
        }
        int x = desiredX_ >= 0 ? desiredX_ : XOfPosition(caret);
        int page = std::max(1, ClientRows() - 1);
        int32_t step = keyCode == VK_UP ? -1 : keyCode == VK_DOWN ? 1 : keyCode == VK_PRIOR ? -page : page;
        RowPos from = PositionRow(caret);
        RowPos to = layout_.AddRows(from, step);
        int32_t target;
        if (to.line == from.line && to.sub == from.sub)
            target = step < 0 ? (keyCode == VK_UP ? caret : 0)
                              : (keyCode == VK_DOWN ? caret : model_.TextLength());
        else
            target = PositionAtX(to.line, to.sub, x);
        if (keyCode == VK_PRIOR || keyCode == VK_NEXT)
            ScrollTo(layout_.AddRows(top_, step), xOffset_);
        MoveCaret(target, ext);
        desiredX_ = x;
        return 0;
    }
    case VK_HOME: {
        if (ctrl) {
            MoveCaret(0, ext);
        } else {
            RowPos rp = PositionRow(caret);
            MoveCaret(model_.LineStart(rp.line) + RowStarts(rp.line)[rp.sub], ext);
        }
        return 0;
    }
    case VK_END: {
        if (ctrl) {
            MoveCaret(model_.TextLength(), ext);
        } else {
            RowPos rp = PositionRow(caret);
            int32_t b = 0, e = 0;
            RowText(rp.line, rp.sub, &b, &e, 0);
            // A wrapped row ends before the next row's first character; leave its trailing space.
            if (e != model_.LineEnd(rp.line) && e > b)
                --e;
            MoveCaret(e, ext);
        }
        return 0;
    }
    case VK_DELETE:
        if (ext)
            Cut();
        else if (model_.SelLength() > 0)
            model_.ReplaceSelection(u"", EditKind::Typing);
        else if (caret < model_.TextLength())
            model_.ReplaceRange(
                caret, ctrl ? WordRight(model_, caret, IsWordCharacter) : NextPosition(model_, caret), u"",
                EditKind::Typing);
        return 0;
    case VK_BACK:
        if (model_.SelLength() > 0)
            model_.ReplaceSelection(u"", EditKind::Typing);
        else if (caret > 0)
            model_.ReplaceRange(ctrl ? WordLeft(model_, caret, IsWordCharacter)
                                     : PreviousPosition(model_, caret),
                                caret, u"", EditKind::Typing);
        swallowChar_ = true; // its WM_CHAR (8 or 127) is done with
        return 0;
    case VK_INSERT:
        if (ctrl)
            Copy();
        else if (ext)
            Paste();
        return 0;
    default: return 0;
    }
}

LRESULT TextView::OnChar(wchar_t ch) {
    if (swallowChar_) {
        swallowChar_ = false;
        return 0;
    }
    switch (ch) {
    case 0x01: // Ctrl+A
        model_.SetSelection(0, model_.TextLength());
        return 0;
    case 0x03: // Ctrl+C
        Copy();
        return 0;
    case 0x16: // Ctrl+V
        Paste();
        return 0;
    case 0x18: // Ctrl+X
        Cut();
        return 0;
    case 0x1A: // Ctrl+Z
        model_.Undo();
        return 0;
    case u'\r': model_.ReplaceSelection(u"\r\n", EditKind::Typing); return 0;
    case u'\t': model_.ReplaceSelection(u"\t", EditKind::Typing); return 0;
    default: break;
    }
    if (ch < 0x20 || ch == 0x7F)
        return 0;
    char16_t c = static_cast<char16_t>(ch);
    model_.ReplaceSelection(std::u16string_view(&c, 1), EditKind::Typing);
    return 0;
}

// An input method's finished string arrives whole; insert it as typing.
void TextView::OnImeComposition(LPARAM) {
    HIMC imc = ImmGetContext(hwnd_);
    if (!imc)
        return;
    LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, nullptr, 0);
    if (bytes > 0) {
        std::u16string text(static_cast<size_t>(bytes) / sizeof(wchar_t), u'\0');
        ImmGetCompositionStringW(imc, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
        model_.ReplaceSelection(text, EditKind::Typing);
    }
    ImmReleaseContext(hwnd_, imc);
}

// ---- Mouse

void TextView::OnMouseButton(int16_t button, LPARAM lParam) {
    if (TextControlEvents* events = events_) {
        int dpi = Dpi();
        events->OnMouseDown(button, ShiftState(), TwipsFromPixels(GET_X_LPARAM(lParam), dpi),
                            TwipsFromPixels(GET_Y_LPARAM(lParam), dpi));
    }
}

void TextView::OnLeftDown(LPARAM lParam, bool doubleClick) {
    if (!hwnd_)
        return;
    if (GetFocus() != hwnd_)
        ::SetFocus(hwnd_);
    int32_t pos = PositionAtPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (doubleClick) {
        SelectWordAt(pos);
        return;
    }
    MoveCaret(pos, (ShiftState() & kShiftMask) != 0);
    dragging_ = true;
    lastMouse_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    SetCapture(hwnd_);
    SetTimer(hwnd_, kDragTimer, 50, nullptr);
}

void TextView::OnMouseMove(LPARAM lParam) {
    if (!dragging_)
        return;
    lastMouse_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    int32_t pos = PositionAtPoint(lastMouse_.x, lastMouse_.y);
    if (pos != model_.Caret())
        model_.SetSelection(model_.Anchor(), pos);
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
            ScrollTo(top_, std::max(0, xOffset_ - notches * avgCharWidth_ * 4));
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
        case SB_THUMBPOSITION: {
            SCROLLINFO si{};
            si.cbSize = sizeof(si);
            si.fMask = SIF_TRACKPOS;
            GetScrollInfo(hwnd_, SB_VERT, &si);
            top = layout_.RowToPos(si.nTrackPos);
            break;
        }
        default: return;
        }
        ScrollTo(top, xOffset_);
        return;
    }
    if (wordWrap_)
        return;
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    int x = xOffset_;
    switch (code) {
    case SB_LINELEFT: x -= avgCharWidth_; break;
    case SB_LINERIGHT: x += avgCharWidth_; break;
    case SB_PAGELEFT: x -= rc.right / 2; break;
    case SB_PAGERIGHT: x += rc.right / 2; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(hwnd_, SB_HORZ, &si);
        x = si.nTrackPos;
        break;
    }
    default: return;
    }
    ScrollTo(top_, std::max(0, x));
}

void TextView::OnTimer(UINT_PTR id) {
    if (id == kLayoutTimer) {
        LayoutSlice(kSliceMs);
        UpdateScrollBars();
        if (LayoutComplete())
            KillTimer(hwnd_, kLayoutTimer);
        return;
    }
    if (id == kMeasureTimer) {
        // Long lines on screen are measured ahead while the user reads, so that End, Ctrl+End
        // and the scroll bar find their widths known.
        const DWORD begin = GetTickCount();
        auto timeUp = [&] { return static_cast<int>(GetTickCount() - begin) >= kSliceMs; };
        bool done = true;
        for (int32_t line = top_.line; line <= std::min(top_.line + ClientRows(), layout_.LineCount() - 1);
             ++line)
            done = lineWidths_.MeasureAhead(line, timeUp) && done;
        if (done)
            KillTimer(hwnd_, kMeasureTimer);
        UpdateScrollBars();
        return;
    }
    if (id == kDragTimer && dragging_) {
        // Dragging past an edge scrolls that way.
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        if (lastMouse_.y < 0)
            ScrollTo(layout_.AddRows(top_, -1), xOffset_);
        else if (lastMouse_.y >= rc.bottom)
            ScrollTo(layout_.AddRows(top_, 1), xOffset_);
        else if (!wordWrap_ && lastMouse_.x < 0)
            ScrollTo(top_, std::max(0, xOffset_ - avgCharWidth_ * 2));
        else if (!wordWrap_ && lastMouse_.x >= rc.right)
            ScrollTo(top_, xOffset_ + avgCharWidth_ * 2);
        else
            return;
        int32_t pos = PositionAtPoint(lastMouse_.x, lastMouse_.y);
        model_.SetSelection(model_.Anchor(), pos);
    }
}

// ---- Standard messages

LRESULT TextView::OnGetText(WPARAM size, LPARAM buffer) {
    if (size == 0 || buffer == 0)
        return 0;
    auto out = reinterpret_cast<char16_t*>(buffer);
    int32_t n = static_cast<int32_t>(std::min<WPARAM>(size - 1, static_cast<WPARAM>(model_.TextLength())));
    std::u16string text = model_.Range(0, n);
    std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
    out[n] = 0;
    return n;
}

LRESULT TextView::OnGetSel(WPARAM startOut, LPARAM endOut) {
    DWORD start = static_cast<DWORD>(model_.SelStart());
    DWORD end = start + static_cast<DWORD>(model_.SelLength());
    if (startOut)
        *reinterpret_cast<DWORD*>(startOut) = start;
    if (endOut)
        *reinterpret_cast<DWORD*>(endOut) = end;
    if (start > 0xFFFF || end > 0xFFFF)
        return -1;
    return MAKELRESULT(start, end);
}

void TextView::OnSetSel(WPARAM start, LPARAM end) {
    int32_t len = model_.TextLength();
    int32_t s = static_cast<int32_t>(start);
    int32_t e = static_cast<int32_t>(end);
    if (s == -1) { // deselect, the caret stays
        model_.SetSelection(model_.Caret(), model_.Caret());
        return;
    }
    if (e == -1 || e > len)
        e = len;
    s = std::clamp(s, 0, len);
    e = std::clamp(e, 0, len);
    model_.SetSelection(s, e);
}

void TextView::Copy() {
    if (model_.SelLength() > 0)
        clipboard_.SetText(model_.SelText());
}

// The selection goes only once the clipboard holds it.
void TextView::Cut() {
    if (model_.SelLength() > 0 && clipboard_.SetText(model_.SelText()))
        model_.ReplaceSelection(u"", EditKind::Program);
}

void TextView::Paste() {
    std::optional<std::u16string> text = clipboard_.Text();
    if (text && !text->empty())
        model_.ReplaceSelection(*text, EditKind::Program);
}

void TextView::Clear() {
    if (model_.SelLength() > 0)
        model_.ReplaceSelection(u"", EditKind::Program);
}

// ---- Painting

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
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        // Only the rows that need it, drawn off-screen first so typing never flickers.
        const RECT& area = target.Area();
        const int firstRow = std::max<LONG>(0, area.top) / lineHeight_;
        const int lastRow = std::max<LONG>(area.top, area.bottom - 1) / lineHeight_;
        const int height = (lastRow - firstRow + 1) * lineHeight_;
        MemoryDc dc(CreateCompatibleDC(target));
        GdiBitmap bitmap(CreateCompatibleBitmap(target, std::max<LONG>(1, rc.right), height));
        SelectInDc selectBitmap(dc, bitmap);
        SelectInDc selectFont(dc, font_);
        RECT strip{0, 0, rc.right, height};
        FillRect(dc, &strip, GetSysColorBrush(COLOR_WINDOW));

        int32_t selFrom = model_.SelStart();
        int32_t selTo = selFrom + model_.SelLength();
        RowPos row = layout_.AddRows(top_, firstRow);
        const bool pastTheEnd = layout_.PosToRow(row) - layout_.PosToRow(top_) < firstRow;
        for (int y = 0; y < height && !pastTheEnd; y += lineHeight_) {
            DrawRow(dc, y, row.line, row.sub, selFrom, selTo, rc.right);
            RowPos next = layout_.AddRows(row, 1);
            if (next == row)
                break;
            row = next;
        }
        BitBlt(target, 0, firstRow * lineHeight_, rc.right, height, dc, 0, 0, SRCCOPY);
        shownSelection_ = {selFrom, selTo};
    }
    // Rows are measured as they are drawn: a wider row found here widens the scroll range.
    if (maxWidthSeen_ != widthBefore)
        UpdateScrollBars();
}

// One display row: the text with tabs expanded, control characters as boxes, and the
// selection in the highlight colours (greyed while the control has no focus).
void TextView::DrawRow(HDC dc, int y, int32_t line, int32_t sub, int32_t selFrom, int32_t selTo,
                       int clientWidth) {
    int32_t begin = 0, end = 0;
    int x = 0;
    std::u16string text;
    if (wordWrap_) {
        text = RowText(line, sub, &begin, &end);
    } else {
        // Only what shows of a line is measured and drawn, however long the line is.
        LineWidths::Point from = lineWidths_.ChunkAtX(line, xOffset_);
        begin = from.position;
        x = from.x;
        end = model_.LineEnd(line);
        const int64_t shown = int64_t(xOffset_) + clientWidth - x + 16; // characters are a pixel or wider
        text = model_.Range(begin, int32_t(std::min<int64_t>(end, begin + std::max<int64_t>(0, shown))));
    }
    int32_t n = static_cast<int32_t>(text.size());
    std::vector<INT> dx(static_cast<size_t>(n));
    std::wstring glyphs(static_cast<size_t>(n), L' ');
    std::vector<int> xs(static_cast<size_t>(n) + 1);
    const int rightEdge = xOffset_ + clientWidth;
    for (int32_t i = 0; i < n; ++i) {
        char16_t c = text[i];
        int adv = Advance(c, x);
        xs[i] = x;
        dx[i] = adv;
        glyphs[i] = (c == u'\t' || IsControl(c)) ? L' ' : static_cast<wchar_t>(c);
        x += adv;
        if (!wordWrap_ && x > rightEdge && !(c >= 0xD800 && c <= 0xDBFF)) {
            n = i + 1; // the rest is off to the right
            break;
        }
    }
    xs[n] = x;
    // A row cut short for drawing is wider still, so the scroll bar must show that more follows.
    if (!wordWrap_) {
        const int64_t width =
            end - begin == n
                ? x
                : std::max<int64_t>(x + avgCharWidth_, lineWidths_.EstimatedWidth(line, avgCharWidth_));
        maxWidthSeen_ =
            std::max<int64_t>(maxWidthSeen_, std::min<int64_t>(width, std::numeric_limits<int>::max() / 4));
    }

    const int left = margin_ - xOffset_;
    COLORREF textColor = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF backColor = GetSysColor(COLOR_WINDOW);
    COLORREF selText = hasFocus_ ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
    COLORREF selBack = hasFocus_ ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE);

    auto drawRun = [&](int32_t a, int32_t b, bool selected) {
        if (a >= b)
            return;
        SetTextColor(dc, selected ? selText : textColor);
        SetBkColor(dc, selected ? selBack : backColor);
        RECT r{left + xs[a], y, left + xs[b], y + lineHeight_};
        if (r.right < 0 || r.left > clientWidth)
            return;
        ExtTextOutW(dc, left + xs[a], y, ETO_OPAQUE | ETO_CLIPPED, &r, glyphs.data() + a,
                    static_cast<UINT>(b - a), dx.data() + a);
    };
    int32_t a = std::clamp(selFrom - begin, 0, n);
    int32_t b = std::clamp(selTo - begin, 0, n);
    drawRun(0, a, false);
    drawRun(a, b, true);
    drawRun(b, n, false);

    // A NUL or another control character never cuts the line: it shows as a small box.
    HBRUSH boxBrush = GetSysColorBrush(COLOR_GRAYTEXT);
    for (int32_t i = 0; i < n; ++i) {
        if (!IsControl(text[i]))
            continue;
        int w = dx[i];
        RECT box{left + xs[i] + w / 6, y + lineHeight_ / 4, left + xs[i] + w - w / 6,
                 y + lineHeight_ * 3 / 4};
        FrameRect(dc, &box, boxBrush);
    }

    // A selected line break shows as a highlighted space after the row's text.
    int32_t lineEnd = model_.LineEnd(line);
    if (end == lineEnd && lineEnd < model_.TextLength() && selFrom <= lineEnd && selTo > lineEnd &&
        end - begin == n) {
        RECT r{left + x, y, left + x + std::max(1, CharWidth(u' ')), y + lineHeight_};
        SetBkColor(dc, selBack);
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
}

} // namespace quillet::win32
