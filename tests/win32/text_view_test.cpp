// What only the Win32 text view decides: keys, mouse, wrapping at its width, the standard edit
// messages and EN_CHANGE, driven by window messages as the system delivers them.

#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet::win32 {
namespace {

constexpr UINT kEmSetTargetDevice = WM_USER + 72;

// The editor's side of the view: takes the key `swallow`, and for the key `insert` puts in its
// own text while letting waiting messages through, as a message box shown from a key does.
class Handler : public TextControlEvents {
public:
    explicit Handler(TextView& view) : view_(view) {}
    void OnChange() override {}
    bool OnKeyDown(int32_t keyCode, int32_t shift) override {
        keys.push_back({keyCode, shift});
        if (keyCode == insert) {
            testing_win32::Pump();
            view_.SetSelText(u"[mine]");
        }
        return keyCode == swallow;
    }
    void OnMouseDown(int16_t button, int16_t, int32_t x, int32_t y) override {
        mouse.push_back({button, x, y});
    }
    int32_t swallow = -1, insert = -1;
    std::vector<std::pair<int32_t, int32_t>> keys;
    std::vector<std::tuple<int16_t, int32_t, int32_t>> mouse;

private:
    TextView& view_;
};

class TextViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Handle(), 1001, GetModuleHandleW(nullptr)));
        MoveWindow(view.Handle(), 0, 0, 360, 240, TRUE);
        view.SetEvents(&handler);
        ::SetFocus(view.Handle());
    }
    void TearDown() override { view.SetEvents(nullptr); }

    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(view.Handle(), msg, w, l); }
    // The view reads Shift and Ctrl from the thread's key state, as for real key presses.
    static void SetModifiers(bool shift, bool ctrl) {
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
    // As the loop delivers a key: TranslateMessage has queued its character before the key-down.
    void Press(WPARAM vk, wchar_t ch) {
        PostMessageW(view.Handle(), WM_CHAR, ch, 1);
        Send(WM_KEYDOWN, vk, 1);
        testing_win32::Pump();
    }
    std::pair<int32_t, int32_t> Sel() {
        DWORD a = 0, b = 0;
        Send(EM_GETSEL, WPARAM(&a), LPARAM(&b));
        return {int32_t(a), int32_t(b)};
    }

    testing_win32::HostWindow host;
    ClipboardWin32 clipboard{host.Handle()};
    TextView view{clipboard};
    Handler handler{view};
};

TEST_F(TextViewTest, KeysMoveByCharacterWordLineAndPageKeepingTheColumnAndShiftExtends) {
    view.SetText(u"Привет, мир\r\nвторая строка\r\nend");
    Key(VK_END);
    Key(VK_HOME, true);
    EXPECT_EQ(Sel(), std::make_pair(0, 11));
    EXPECT_EQ(view.Model().Caret(), 0);
    Key(VK_RIGHT); // collapses to the selection's right end
    EXPECT_EQ(Sel(), std::make_pair(11, 11));
    Key(VK_RIGHT); // over the line break in one step
    EXPECT_EQ(view.SelStart(), 13);
    Key(VK_HOME, false, true);
    Key(VK_RIGHT, false, true);
    EXPECT_EQ(view.SelStart(), 6); // the word, then the comma is a stop of its own
    Key(VK_RIGHT, true, true);
    EXPECT_EQ(Sel(), std::make_pair(6, 8));
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

TEST_F(TextViewTest, KeysTypeAfterTheHandlerHadThemAndATakenKeyTypesNothingEvenIfTheHandlerPumps) {
    view.SetText(u"ab");
    Key(VK_END);
    for (wchar_t c : std::wstring(L"Жё\r\tz"))
        Press('A', c);
    EXPECT_EQ(view.Text(), u"abЖё\r\n\tz");
    Key(VK_BACK);
    Key(VK_BACK);
    Key(VK_BACK); // the whole CR LF at once
    Key(VK_HOME);
    Key(VK_DELETE);
    Send(WM_CHAR, 0x07); // control characters other than Tab and Enter type nothing
    EXPECT_EQ(view.Text(), u"bЖё");
    Send(EM_UNDO);
    EXPECT_EQ(view.Text(), u"abЖё");

    handler.swallow = VK_HOME; // a taken key moves nothing
    SetModifiers(true, false);
    Key(VK_HOME, true);
    EXPECT_EQ(view.SelStart(), 0);
    EXPECT_EQ(handler.keys.back(), std::make_pair(int32_t(VK_HOME), int32_t(kShiftMask)));
    view.SetText(u"");
    ASSERT_TRUE(clipboard.SetText(u"[clipboard]"));
    handler.swallow = handler.insert = 'V';
    Press('V', 0x16); // its character comes while the handler pumps: Ctrl+V's would paste again
    Press('B', L'b');
    EXPECT_EQ(view.Text(), u"[mine]b");
    handler.swallow = -1; // a key left to the view types its character once, after the handler
    Press('V', L'v');
    EXPECT_EQ(view.Text(), u"[mine]b[mine]v");
}

TEST_F(TextViewTest, TheStandardEditMessagesWorkFromOutsideAndEveryChangeSendsEnChange) {
    std::u16string text = u"Съешь же ещё\r\nэтих булок";
    Send(WM_SETTEXT, 0, LPARAM(text.c_str()));
    EXPECT_EQ(host.enChanges, 1);
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 24);
    char16_t small[5] = {u'x', u'x', u'x', u'x', u'x'}; // gets the start and a NUL
    EXPECT_EQ(Send(WM_GETTEXT, 5, LPARAM(small)), 4);
    EXPECT_EQ(std::u16string(small), u"Съеш");
    Send(EM_SETSEL, 6, 8);
    EXPECT_EQ(Send(EM_GETSEL), MAKELRESULT(6, 8));
    Send(EM_REPLACESEL, TRUE, LPARAM(u"же\r\nже"));
    EXPECT_EQ(view.Text(), u"Съешь же\r\nже ещё\r\nэтих булок");
    EXPECT_EQ(host.enChanges, 2);
    EXPECT_EQ(Sel(), std::make_pair(12, 12));
    Send(EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(), std::make_pair(0, 28));
    Send(EM_SETSEL, WPARAM(-1), 0);
    EXPECT_EQ(view.SelLength(), 0);
    Send(WM_CHAR, u'я');
    EXPECT_EQ(host.enChanges, 3);
    EXPECT_TRUE(Send(EM_CANUNDO));
}

TEST_F(TextViewTest, CopyCutPasteAndClearUseTheClipboardAndANulDoesNotCutTheCopyShort) {
    view.SetText(u"один два");
    Send(EM_SETSEL, 0, 4);
    Send(WM_COPY);
    Send(EM_SETSEL, 8, 8);
    Key(VK_INSERT, true, false); // Shift+Insert pastes
    Send(EM_SETSEL, 4, 8);
    Send(WM_CUT);
    Send(EM_SETSEL, 0, 0);
    Send(WM_PASTE);
    EXPECT_EQ(view.Text(), u" дваодинодин");
    Send(EM_SETSEL, 0, 4);
    Send(WM_CLEAR);
    EXPECT_EQ(view.Text(), u"одинодин");

    view.SetText(std::u16string(u"a\0b", 3));
    Send(EM_SETSEL, 0, 3);
    Send(WM_COPY);
    Send(EM_SETSEL, 3, 3);
    Send(WM_PASTE);
    EXPECT_EQ(view.Text(), std::u16string(u"a\0ba", 4)) << "the clipboard reads up to the NUL";
    ASSERT_TRUE(OpenClipboard(host.Handle()));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(data)), 4),
              std::u16string(u"a\0b\0", 4));
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(TextViewTest, WordWrapBreaksRowsAtTheWidthAndEndAndDownGoByRows) {
    std::u16string line;
    for (int i = 0; i < 60; ++i)
        line += u"слово ";
    view.SetText(line + u"\r\nshort\r\n" + line);
    EXPECT_EQ(view.RowCount(), 3);
    Send(kEmSetTargetDevice, 0, 0);
    EXPECT_TRUE(view.WordWrap());
    view.CompleteLayout();
    const int32_t wrapped = view.RowCount();
    EXPECT_GT(wrapped, 6);
    MoveWindow(view.Handle(), 0, 0, 200, 240, TRUE);
    view.CompleteLayout();
    EXPECT_GT(view.RowCount(), wrapped);

    Send(EM_SETSEL, 0, 0);
    Key(VK_END); // the end of the row, before its trailing space
    const int32_t rowEnd = view.SelStart();
    EXPECT_TRUE(rowEnd > 0 && rowEnd < int32_t(line.size())) << rowEnd;
    EXPECT_EQ(view.Model().CharAt(rowEnd), u' ');
    Key(VK_HOME);
    Key(VK_DOWN);
    EXPECT_EQ(view.SelStart(), rowEnd + 1);
    Send(kEmSetTargetDevice, 0, 1);
    EXPECT_FALSE(view.WordWrap());
    EXPECT_EQ(view.RowCount(), 3);
}

TEST_F(TextViewTest, TheHorizontalScrollRangeFollowsTheWidestDrawnRowAndANewTextStartsAfresh) {
    auto horizontal = [&] {
        Send(WM_PAINT); // the host is hidden, so nothing else paints it
        SCROLLINFO si{sizeof si, SIF_ALL};
        GetScrollInfo(view.Handle(), SB_HORZ, &si);
        return si;
    };
    Send(kEmSetTargetDevice, 0, 1);
    // One line far too long to be drawn whole; then one wider than the window, drawn whole.
    for (std::u16string line : {std::u16string(5000, u'ы'), std::u16string(150, u'Ж')}) {
        view.SetText(u"short\r\n" + line + u"\r\nshort");
        SCROLLINFO si = horizontal();
        EXPECT_GT(si.nMax, int(si.nPage) * 2) << line.size();
        EXPECT_EQ(si.nPos, 0);
    }
    view.SetText(u"short\r\nshort");
    SCROLLINFO si = horizontal();
    EXPECT_LE(si.nMax - si.nMin + 1, int(si.nPage) + 1);
}

TEST_F(TextViewTest, ClicksReachTheHandlerInTwipsAndPlaceTheCaretADoubleClickSelectsAWord) {
    view.SetText(u"первое слово\r\nвторая строка");
    const int h = view.LineHeight(), x = view.CaretPoint().x + 20;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, h + h / 2));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(x, h + h / 2));
    EXPECT_EQ(view.Model().LineFromPosition(view.SelStart()), 1);
    EXPECT_GT(view.SelStart(), 14);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, h + h / 2));
    EXPECT_EQ(view.SelText(), u"вторая ");
    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(96, 48));
    EXPECT_EQ(view.SelText(), u"вторая ") << "a right click leaves the selection to the menu";
    ASSERT_EQ(handler.mouse.size(), 3u);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(handler.mouse[2], std::make_tuple(kRightButton, 96 * 1440 / dpi, 48 * 1440 / dpi));
}

TEST_F(TextViewTest, ANulTakesRoomLikeACharacterAndTheLineGoesOnAfterIt) {
    view.SetText(std::u16string(u"a\0b", 3));
    Key(VK_END);
    EXPECT_EQ(view.SelStart(), 3);
    Send(EM_SETSEL, 2, 2);
    const LONG afterNul = view.CaretPoint().x;
    Send(EM_SETSEL, 1, 1);
    EXPECT_GT(afterNul, view.CaretPoint().x);
}

} // namespace
} // namespace quillet::win32
