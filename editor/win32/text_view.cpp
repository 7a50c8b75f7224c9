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
    case WM_SIZE:
        client_ = {0, 0, LOWORD(lParam), HIWORD(lParam)};
        OnSize();
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT provider = automation_.OnGetObject(wParam, lParam))
            return provider;
        break;
    case WM_DESTROY: automation_.Disconnect(); break;
    case WM_SETFOCUS: ShowFocus(true); return 0;
    case WM_KILLFOCUS: ShowFocus(false); return 0;
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
    case WM_IME_STARTCOMPOSITION:
        composing_ = true;
        if (hasFocus_)
            PlaceComposition(CaretPoint());
        break;
    case WM_IME_ENDCOMPOSITION: composing_ = false; break;
    case WM_IME_COMPOSITION:
        if (lParam & GCS_RESULTSTR) {
            OnImeComposition(lParam);
            return 0;
        }
        break;
    case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
    case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: // the rows are drawn in the system's colours of the moment
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    default:
        if ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_CONTEXTMENU ||
            msg == WM_CAPTURECHANGED)
            return HandleMouseMessage(msg, wParam, lParam);
        return HandleEditMessage(msg, wParam, lParam);
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

LRESULT TextView::HandleMouseMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
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
    default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

// The standard edit-control messages, so that tools can drive the view like any edit control.
LRESULT TextView::HandleEditMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
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

// The client area as the last WM_SIZE gave it: asking the system on every key costs a round trip
// under Wine.
RECT TextView::ClientArea() const {
    if (hwnd_ && client_.right == 0 && client_.bottom == 0) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        return rc;
    }
    return hwnd_ ? client_ : RECT{};
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
        MeasureLongLinesLater(50); // once typing pauses
    }
    rowsMoved = rowsMoved || layout_.RowCount() != rowsBefore;
    const int32_t lineCount = layout_.LineCount();
    if (top_.line >= lineCount)
        top_ = {lineCount - 1, 0};
    if (top_.sub >= RowsOf(top_.line))
        top_.sub = RowsOf(top_.line) - 1;
    // A new text's long lines on screen are measured with it, within a bound, so that the first
    // End or Ctrl+End does not pay for it; what is left is measured while idle.
    if (!wordWrap_ && position == 0 && inserted == model_.TextLength()) {
        const DWORD begin = GetTickCount();
        auto timeUp = [&] { return static_cast<int>(GetTickCount() - begin) >= kLoadMeasureMs; };
        const int32_t last = std::min(layout_.LineCount() - 1, top_.line + ClientRows());
        for (int32_t line = top_.line; line <= last && !timeUp(); ++line)
            lineWidths_.MeasureAhead(line, timeUp);
    }
    // The caret may still be where it was before the edit; it is placed once the write ends.
    if (hwnd_) {
        UpdateScrollBars();
        // The rows the edit changed (wrapped, from the row before its own: a word can move up),
        // and the rows below only when they moved.
        const int32_t from = std::max(0, layout_.PosToRow(PositionRow(position)) - (wordWrap_ ? 1 : 0));
        const int32_t to = rowsMoved ? std::numeric_limits<int32_t>::max()
                                     : layout_.PosToRow({newLast, RowsOf(newLast) - 1});
        InvalidateRows(from, to);
    }
}

void TextView::OnChange() {
    if (hwnd_)
        IfMemoryAllows([&] { UpdateCaret(); });
    automation_.TextChanged();
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
    automation_.SelectionChanged();
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

} // namespace quillet::win32
