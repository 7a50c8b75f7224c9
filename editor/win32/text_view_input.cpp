// The view's keyboard, input method and mouse.

#include "editor/win32/text_view.h"

#include "editor/control/caret_motion.h"
#include "editor/win32/dpi.h"

#include <imm.h>
#include <windowsx.h>

#include <algorithm>

namespace quillet::win32 {

namespace {

bool IsWordCharacter(char16_t c) {
    return c == u'_' || IsCharAlphaNumericW(static_cast<wchar_t>(c));
}

} // namespace

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
    // One call for the three keys: each GetKeyState is a round trip under Wine.
    BYTE keys[256] = {};
    if (!GetKeyboardState(keys))
        return 0;
    int16_t shift = 0;
    if (keys[VK_SHIFT] & 0x80)
        shift |= kShiftMask;
    if (keys[VK_CONTROL] & 0x80)
        shift |= kCtrlMask;
    if (keys[VK_MENU] & 0x80)
        shift |= kAltMask;
    return shift;
}

// The editor's key handler sees the key first; true when it took the key. Its characters that
// arrive meanwhile (a message box in the handler lets messages through) wait for its answer.
bool TextView::OfferKeyToHandler(int32_t keyCode, int32_t shift) {
    TextControlEvents* events = events_;
    if (!events)
        return false;
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
    // And the character the key would type, unless it already came during the handler.
    if (swallowed)
        swallowChar_ = !ownCharCame;
    return swallowed;
}

// Up, Down, Page Up and Page Down keep the caret's x from the first of them; Ctrl+Up and
// Ctrl+Down scroll a row without moving it.
void TextView::MoveVertically(int32_t keyCode, bool extend, bool ctrl) {
    const int32_t caret = model_.Caret();
    if (ctrl && (keyCode == VK_UP || keyCode == VK_DOWN)) {
        // Ctrl+Up/Down scroll by a row without moving the caret.
        ScrollTo(layout_.AddRows(top_, keyCode == VK_UP ? -1 : 1), xOffset_);
        return;
    }
    int x = desiredX_ >= 0 ? desiredX_ : XOfPosition(caret);
    int page = std::max(1, ClientRows() - 1);
    int32_t step = keyCode == VK_UP ? -1 : keyCode == VK_DOWN ? 1 : keyCode == VK_PRIOR ? -page : page;
    RowPos from = PositionRow(caret);
    RowPos to = layout_.AddRows(from, step);
    int32_t target;
    if (to.line == from.line && to.sub == from.sub)
        target =
            step < 0 ? (keyCode == VK_UP ? caret : 0) : (keyCode == VK_DOWN ? caret : model_.TextLength());
    else
        target = PositionAtX(to.line, to.sub, x);
    if (keyCode == VK_PRIOR || keyCode == VK_NEXT)
        ScrollTo(layout_.AddRows(top_, step), xOffset_);
    MoveCaret(target, extend);
    desiredX_ = x;
}

// Delete and Backspace, a character or a word; Shift+Delete, Ctrl+Insert and Shift+Insert are
// cut, copy and paste.
void TextView::OnEditingKey(int32_t keyCode, bool ext, bool ctrl) {
    const int32_t caret = model_.Caret();
    switch (keyCode) {
    case VK_DELETE:
        if (ext)
            Cut();
        else if (model_.SelLength() > 0)
            model_.ReplaceSelection(u"", EditKind::Typing);
        else if (caret < model_.TextLength())
            model_.ReplaceRange(
                caret, ctrl ? WordRight(model_, caret, IsWordCharacter) : NextPosition(model_, caret), u"",
                EditKind::Typing);
        return;
    case VK_BACK:
        if (model_.SelLength() > 0)
            model_.ReplaceSelection(u"", EditKind::Typing);
        else if (caret > 0)
            model_.ReplaceRange(ctrl ? WordLeft(model_, caret, IsWordCharacter)
                                     : PreviousPosition(model_, caret),
                                caret, u"", EditKind::Typing);
        swallowChar_ = true; // its WM_CHAR (8 or 127) is done with
        return;
    case VK_INSERT:
        if (ctrl)
            Copy();
        else if (ext)
            Paste();
        return;
    default: return;
    }
}

LRESULT TextView::OnKeyMessage(WPARAM key) {
    const int32_t keyCode = static_cast<int32_t>(key);
    const int32_t shift = ShiftState();
    swallowChar_ = false;
    keySwallowed_ = false;
    if (OfferKeyToHandler(keyCode, shift) || !hwnd_)
        return 0; // taken, or the handler closed the window
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
    case VK_NEXT: MoveVertically(keyCode, ext, ctrl); return 0;
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
    case VK_BACK:
    case VK_INSERT: OnEditingKey(keyCode, ext, ctrl); return 0;
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

void TextView::OnTimer(UINT_PTR id) {
    if (id == kBlinkTimer) {
        OnBlink();
        return;
    }
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
        if (done) {
            KillTimer(hwnd_, kMeasureTimer);
            measurePending_ = false;
            UpdateScrollBars(); // once, with the widths known: setting the bars is slow under Wine
        }
        return;
    }
    if (id == kDragTimer && dragging_) {
        // Dragging past an edge scrolls that way.
        RECT rc = ClientArea();
        if (lastMouse_.y < 0)
            ScrollTo(layout_.AddRows(top_, -1), xOffset_);
        else if (lastMouse_.y >= rc.bottom)
            ScrollTo(layout_.AddRows(top_, 1), xOffset_);
        else if (!wordWrap_ && lastMouse_.x < 0)
            ScrollTo(top_, std::max(0, xOffset_ - metrics_.AverageWidth() * 2));
        else if (!wordWrap_ && lastMouse_.x >= rc.right)
            ScrollTo(top_, xOffset_ + metrics_.AverageWidth() * 2);
        else
            return;
        int32_t pos = PositionAtPoint(lastMouse_.x, lastMouse_.y);
        model_.SetSelection(model_.Anchor(), pos);
    }
}

} // namespace quillet::win32
