// What only the Win32 text view does: keys, mouse, wrapping, the standard edit messages and
// EN_CHANGE, driven by window messages as the system would deliver them.

#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace quillet::win32 {
namespace {

constexpr UINT kEmSetTargetDevice = WM_USER + 72;

class KeyLog : public TextControlEvents {
public:
    void OnChange() override { ++changes; }
    bool OnKeyDown(int32_t keyCode, int32_t shift) override {
        keys.push_back(keyCode);
        shifts.push_back(shift);
        return keyCode == swallow;
    }
    void OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) override {
        mouse.push_back({button, shift, x, y});
    }
    struct Mouse {
        int16_t button, shift;
        int32_t x, y;
    };
    int changes = 0;
    int32_t swallow = -1;
    std::vector<int32_t> keys, shifts;
    std::vector<Mouse> mouse;
};

class TextViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Handle(), 1001, GetModuleHandleW(nullptr)));
        MoveWindow(view.Handle(), 0, 0, 360, 240, TRUE);
        view.SetEvents(&log);
        SetForegroundWindow(host.Handle());
        ::SetFocus(view.Handle());
    }
    void TearDown() override {
        SetModifiers(false, false);
        view.SetEvents(nullptr);
    }

    HWND Hwnd() { return view.Handle(); }
    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(Hwnd(), msg, w, l); }

    // The view reads Shift and Ctrl from the thread's key state, as for real key presses.
    void SetModifiers(bool shift, bool ctrl) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
    }
    void Key(WPARAM vk, bool shift = false, bool ctrl = false) {
        SetModifiers(shift, ctrl);
        Send(WM_KEYDOWN, vk, 1);
        SetModifiers(false, false);
    }
    // A key as TranslateMessage delivers it: WM_KEYDOWN, then its WM_CHAR.
    void Type(const std::u16string& text) {
        for (char16_t c : text) {
            Send(WM_KEYDOWN, 0x41, 1);
            Send(WM_CHAR, c, 1);
        }
    }
    std::pair<int32_t, int32_t> Sel() {
        DWORD a = 0, b = 0;
        Send(EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {static_cast<int32_t>(a), static_cast<int32_t>(b)};
    }
    std::u16string WindowText() {
        int n = static_cast<int>(Send(WM_GETTEXTLENGTH));
        std::u16string text(static_cast<size_t>(n) + 1, u'\0');
        int got = static_cast<int>(Send(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
        text.resize(static_cast<size_t>(got));
        return text;
    }

    testing_win32::HostWindow host;
    ClipboardWin32 clipboard{host.Handle()};
    TextView view{clipboard};
    KeyLog log;
};

TEST_F(TextViewTest, ArrowsHomeEndAndCtrlKeysMoveTheCaretAndShiftExtendsTheSelection) {
    view.SetText(u"Привет, мир\r\nвторая строка\r\nend");
    Key(VK_END);
    EXPECT_EQ(view.SelStart(), 11);
    Key(VK_HOME, true);
    EXPECT_EQ(view.SelStart(), 0);
    EXPECT_EQ(view.SelLength(), 11);
    EXPECT_EQ(view.Model().Caret(), 0);
    Key(VK_RIGHT); // collapses to the selection's right end
    EXPECT_EQ(Sel(), std::make_pair(11, 11));
    Key(VK_RIGHT); // over the line break as one step
    EXPECT_EQ(view.SelStart(), 13);
    Key(VK_LEFT);
    EXPECT_EQ(view.SelStart(), 11);

    Key(VK_HOME, false, true);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(view.SelStart(), 6); // the word, then the comma is a stop of its own
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(view.SelStart(), 8);
    Key(VK_RIGHT, true, true);
    EXPECT_EQ(Sel(), std::make_pair(8, 11));
    Key(VK_LEFT, false, true);
    EXPECT_EQ(view.SelStart(), 8);

    // Down and Up keep the column; at the last line Down goes nowhere.
    Key(VK_DOWN);
    EXPECT_EQ(view.SelStart(), 13 + 8);
    Key(VK_DOWN);
    EXPECT_EQ(view.SelStart(), 28 + 3); // "end" is shorter: its end
    Key(VK_UP);
    EXPECT_EQ(view.SelStart(), 13 + 8); // the remembered column comes back
    Key(VK_END, true, true);
    EXPECT_EQ(Sel(), std::make_pair(21, 31));
    Key(VK_HOME, true, true);
    EXPECT_EQ(Sel(), std::make_pair(0, 21));
    Key(VK_NEXT); // past the last row: the last line, same column
    EXPECT_EQ(view.SelStart(), 28);
    Key(VK_PRIOR);
    EXPECT_EQ(view.SelStart(), 0);
}

TEST_F(TextViewTest, TypingEnterBackspaceDeleteAndTabEditAndUndoTakesTheTypingBack) {
    view.SetText(u"ab");
    Key(VK_END);
    Type(u"Жё");
    Send(WM_CHAR, u'\r');
    Send(WM_CHAR, u'\t');
    Type(u"z");
    EXPECT_EQ(view.Text(), u"abЖё\r\n\tz");
    Key(VK_BACK);
    Key(VK_BACK);
    Key(VK_BACK); // the whole CR LF at once
    EXPECT_EQ(view.Text(), u"abЖё");
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(view.Text(), u"bЖё");
    EXPECT_TRUE(Send(EM_CANUNDO));
    Send(EM_UNDO);
    EXPECT_EQ(view.Text(), u"abЖё");
    // Control characters other than Tab and Enter type nothing.
    Send(WM_CHAR, 0x07);
    EXPECT_EQ(view.Text(), u"abЖё");
}

TEST_F(TextViewTest, KeyDownReachesTheHandlerFirstAndASwallowedKeyTypesNothing) {
    view.SetText(u"");
    log.swallow = 0x41;
    SetModifiers(true, false);
    Send(WM_KEYDOWN, 0x41, 1);
    SetModifiers(false, false);
    Send(WM_CHAR, u'A', 1);
    EXPECT_EQ(view.Text(), u"");
    ASSERT_FALSE(log.keys.empty());
    EXPECT_EQ(log.keys.back(), 0x41);
    EXPECT_EQ(log.shifts.back(), kShiftMask);

    Send(WM_KEYDOWN, 0x42, 1);
    Send(WM_CHAR, u'b', 1);
    EXPECT_EQ(view.Text(), u"b");
    // A swallowed navigation key does not move the caret either.
    log.swallow = VK_HOME;
    Key(VK_HOME);
    EXPECT_EQ(view.SelStart(), 1);
}

TEST_F(TextViewTest, StandardEditMessagesWorkFromOutsideAndEveryChangeSendsEnChange) {
    int before = host.enChanges;
    std::u16string text = u"Съешь же ещё\r\nэтих булок";
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(host.enChanges, before + 1);
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 24);
    EXPECT_EQ(WindowText(), text);
    // A small buffer gets the start of the text and a terminating NUL.
    char16_t small[5] = {u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(Send(WM_GETTEXT, 5, reinterpret_cast<LPARAM>(small)), 4);
    EXPECT_EQ(std::u16string(small), u"Съеш");

    Send(EM_SETSEL, 6, 8);
    EXPECT_EQ(Sel(), std::make_pair(6, 8));
    EXPECT_EQ(LOWORD(Send(EM_GETSEL)), 6);
    EXPECT_EQ(HIWORD(Send(EM_GETSEL)), 8);
    Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"же\r\nже"));
    EXPECT_EQ(view.Text(), u"Съешь же\r\nже ещё\r\nэтих булок");
    EXPECT_EQ(host.enChanges, before + 2);
    EXPECT_EQ(Sel(), std::make_pair(12, 12));
    Send(EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(), std::make_pair(0, 28));
    Send(EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(view.SelLength(), 0);

    Send(WM_CHAR, u'я');
    EXPECT_EQ(host.enChanges, before + 3);
    Send(EM_UNDO);
    EXPECT_EQ(view.Text(), u"Съешь же\r\nже ещё\r\nэтих булок");
}

TEST_F(TextViewTest, CopyCutPasteAndClearUseTheUnicodeClipboard) {
    view.SetText(u"один два");
    Send(EM_SETSEL, 0, 4);
    Send(WM_COPY);
    Send(EM_SETSEL, 8, 8);
    Send(WM_PASTE);
    EXPECT_EQ(view.Text(), u"один дваодин");
    Send(EM_SETSEL, 4, 8);
    Send(WM_CUT);
    EXPECT_EQ(view.Text(), u"одинодин");
    Send(EM_SETSEL, 0, 0);
    Key(VK_INSERT, true, false); // Shift+Insert pastes
    EXPECT_EQ(view.Text(), u" дваодинодин");
    Send(EM_SETSEL, 0, 4);
    Send(WM_CLEAR);
    EXPECT_EQ(view.Text(), u"одинодин");

    // A NUL in the selection does not cut the copy short.
    view.SetText(std::u16string(u"a\0b", 3));
    Send(EM_SETSEL, 0, 3);
    Send(WM_COPY);
    ASSERT_TRUE(OpenClipboard(host.Handle()));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    const auto* units = static_cast<const char16_t*>(GlobalLock(data));
    ASSERT_GE(GlobalSize(data), 4 * sizeof(char16_t));
    EXPECT_EQ(std::u16string(units, 4), std::u16string(u"a\0b\0", 4));
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(TextViewTest, WordWrapSplitsLongLinesIntoRowsAtTheWidthAndBackWhenTurnedOff) {
    std::u16string line;
    for (int i = 0; i < 60; ++i)
        line += u"слово ";
    view.SetText(line + u"\r\nshort\r\n" + line);
    EXPECT_EQ(view.RowCount(), 3);

    Send(kEmSetTargetDevice, 0, 0);
    EXPECT_TRUE(view.WordWrap());
    view.CompleteLayout();
    int32_t wrapped = view.RowCount();
    EXPECT_GT(wrapped, 6);
    // Narrower means more rows; every row still fits, and words are not split.
    MoveWindow(Hwnd(), 0, 0, 200, 240, TRUE);
    view.CompleteLayout();
    EXPECT_GT(view.RowCount(), wrapped);

    // End goes to the end of the display row, not the line; Down steps a row.
    Send(EM_SETSEL, 0, 0);
    Key(VK_END);
    int32_t rowEnd = view.SelStart();
    EXPECT_GT(rowEnd, 0);
    EXPECT_LT(rowEnd, static_cast<int32_t>(line.size()));
    EXPECT_EQ(view.Model().CharAt(rowEnd), u' ');
    Key(VK_HOME);
    Key(VK_DOWN);
    EXPECT_EQ(view.SelStart(), rowEnd + 1);

    // Typing in a wrapped line keeps the layout in step with the text.
    Send(WM_CHAR, u'Ы');
    int32_t before = view.RowCount();
    view.CompleteLayout();
    EXPECT_EQ(view.RowCount(), before);

    Send(kEmSetTargetDevice, 0, 1);
    EXPECT_FALSE(view.WordWrap());
    EXPECT_EQ(view.RowCount(), 3);
}

TEST_F(TextViewTest, TheHorizontalScrollRangeFollowsTheWidestDrawnRowAndANewTextStartsItAfresh) {
    auto horizontal = [&] {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        GetScrollInfo(Hwnd(), SB_HORZ, &si);
        return si;
    };
    Send(kEmSetTargetDevice, 0, 1);
    // One line far too long to be drawn whole; then one wider than the window, drawn whole.
    for (std::u16string line : {std::u16string(5000, u'ы'), std::u16string(150, u'Ж')}) {
        view.SetText(u"short\r\n" + line + u"\r\nshort");
        Send(EM_SETSEL, 0, 0);
        Send(WM_PAINT); // the host is hidden, so nothing would paint it otherwise
        SCROLLINFO si = horizontal();
        EXPECT_GT(si.nMax, static_cast<int>(si.nPage) * 2) << line.size();
        EXPECT_EQ(si.nPos, 0);
    }
    // A new, narrow text leaves nothing to scroll to, whatever the text before it held.
    view.SetText(u"short\r\nshort");
    Send(WM_PAINT);
    SCROLLINFO si = horizontal();
    EXPECT_LE(si.nMax - si.nMin + 1, static_cast<int>(si.nPage) + 1);
}

TEST_F(TextViewTest, ClicksReachMouseDownInTwipsAndPlaceTheCaretDoubleClickSelectsAWord) {
    view.SetText(u"первое слово\r\nвторая строка");
    int h = view.LineHeight();
    POINT caretAtStart = view.CaretPoint();
    // Click in the middle of the second line's first word.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(caretAtStart.x + 20, h + h / 2));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(caretAtStart.x + 20, h + h / 2));
    ASSERT_EQ(log.mouse.size(), 1u);
    EXPECT_EQ(log.mouse[0].button, kLeftButton);
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(log.mouse[0].y, MulDiv(h + h / 2, 1440, dpi));
    EXPECT_EQ(view.Model().LineFromPosition(view.SelStart()), 1);
    EXPECT_GT(view.SelStart(), 14);

    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(caretAtStart.x + 20, h + h / 2));
    EXPECT_EQ(view.SelText(), u"вторая ");

    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    ASSERT_EQ(log.mouse.size(), 3u);
    EXPECT_EQ(log.mouse[2].button, kRightButton);
    EXPECT_EQ(view.SelText(), u"вторая "); // a right click leaves the selection to the menu
}

TEST_F(TextViewTest, ANulCharacterIsKeptAndTheRestOfTheLineStillFollowsIt) {
    std::u16string text = u"a";
    text += u'\0';
    text += u"b";
    view.SetText(text);
    EXPECT_EQ(view.TextLength(), 3);
    Send(EM_SETSEL, 0, 0);
    Key(VK_END);
    EXPECT_EQ(view.SelStart(), 3);
    // Both neighbours are drawn apart: the NUL takes room like a character.
    Send(EM_SETSEL, 2, 2);
    LONG xBefore = view.CaretPoint().x;
    Send(EM_SETSEL, 1, 1);
    EXPECT_GT(xBefore, view.CaretPoint().x);
}

} // namespace
} // namespace quillet::win32
