// The Edit menu, its shortcuts, the right-click menu and the font dialog in the real
// Quillet.exe, driven from outside as a person does.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace quillet::e2e;

namespace {

std::optional<std::wstring> ClipboardText() {
    std::optional<std::wstring> text;
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt)
        Sleep(25);
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        if (auto* data = static_cast<const wchar_t*>(GlobalLock(h))) {
            text = data;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(UINT format, const void* data, size_t bytes, bool empty) {
    for (int attempt = 0; attempt < 20 && !OpenClipboard(nullptr); ++attempt)
        Sleep(25);
    if (empty)
        EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), data, bytes);
    GlobalUnlock(memory);
    SetClipboardData(format, memory);
    CloseClipboard();
}

void SetClipboardPlain(const std::wstring& text) {
    PutOnClipboard(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t), true);
}

// A visible popup menu (class #32768) anywhere on the desktop; the system keeps hidden ones.
BOOL CALLBACK FindVisiblePopup(HWND hwnd, LPARAM out) {
    if (IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32768") {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND VisiblePopupMenu() {
    HWND found = nullptr;
    EnumWindows(FindVisiblePopup, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND WaitPopupMenu(Millis timeout = 5s) {
    HWND found = nullptr;
    WaitFor([&] { return (found = VisiblePopupMenu()) != nullptr; }, timeout);
    return found;
}

bool WaitPopupGone(Millis timeout = 5s) {
    return WaitFor([] { return VisiblePopupMenu() == nullptr; }, timeout);
}

// A right click in the text control, through the real mouse input: the menu opens on the
// button going down, and the button coming up where it went down chooses nothing.
void RightClick(HWND control) {
    RECT rc{};
    GetWindowRect(control, &rc);
    POINT at{rc.left + 60, rc.top + 40};
    SetCursorPos(at.x, at.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_RIGHTDOWN;
    SendInput(1, &input, sizeof(INPUT));
    WaitPopupMenu(3s);
    input.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(1, &input, sizeof(INPUT));
}

// Opens the Edit menu as a context menu, steps down to an item and chooses it. The Edit
// menu reads: Undo, separator, Cut, Copy, Paste, Delete, Select All...
enum class Opening { RightClick, ShiftF10 };

void ChooseFromContextMenu(App& app, int downs, Opening opening) {
    if (opening == Opening::RightClick)
        RightClick(app.TextControl());
    else
        PressKey(VK_F10, {VK_SHIFT});
    ASSERT_NE(WaitPopupMenu(), nullptr) << "no context menu";
    for (int i = 0; i < downs; ++i)
        PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    // A disabled item keeps the menu open: Escape closes it.
    if (!WaitPopupGone(500ms))
        PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitPopupGone());
    app.Sync();
}

struct Started {
    TempFolder folder;
    App app;
};

void Start(Started& s, const std::wstring& text) {
    std::wstring path = s.folder.File(L"правка.txt");
    ASSERT_TRUE(WriteBytes(path, Cp1251(text)));
    ASSERT_TRUE(s.app.Open(path));
    ASSERT_TRUE(s.app.WaitText(text));
}

} // namespace

TEST(EditEndToEnd, CopiesWithCtrlCAndPastesPlainTextWithCtrlVElsewhere) {
    Started s;
    Start(s, L"один два\r\nтри");
    App& app = s.app;

    // Select "один" and copy it.
    PressKey(VK_HOME, {VK_CONTROL});
    for (int i = 0; i < 4; ++i)
        PressKey(VK_RIGHT, {VK_SHIFT});
    app.Sync();
    ASSERT_TRUE(WaitFor([&] { return app.Selection() == std::pair(0, 4); }, 3s));
    PressKey('C', {VK_CONTROL});
    app.Sync();
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"один"; }, 3s)) << "clipboard not written";
    EXPECT_EQ(app.Text(), L"один два\r\nтри");

    // Paste it at the end.
    PressKey(VK_END, {VK_CONTROL});
    PressKey('V', {VK_CONTROL});
    EXPECT_TRUE(app.WaitText(L"один два\r\nтриодин"));

    // Formatted text on the clipboard arrives as its plain text only.
    const wchar_t plain[] = L" жирный";
    const char rtf[] = "{\\rtf1\\ansi {\\b bold}}";
    PutOnClipboard(CF_UNICODETEXT, plain, sizeof plain, true);
    PutOnClipboard(RegisterClipboardFormatW(L"Rich Text Format"), rtf, sizeof rtf, false);
    PressKey('V', {VK_CONTROL});
    EXPECT_TRUE(app.WaitText(L"один два\r\nтриодин жирный"));

    // Ctrl+X takes the selection away and puts it on the clipboard.
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_END, {VK_SHIFT});
    PressKey('X', {VK_CONTROL});
    EXPECT_TRUE(app.WaitText(L"\r\nтриодин жирный"));
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"один два"; }, 3s));
    app.Kill();
}

TEST(EditEndToEnd, DelDeletesTheNextCharacterWithNothingSelected) {
    Started s;
    Start(s, L"абв");
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_DELETE);
    EXPECT_TRUE(s.app.WaitText(L"бв"));
    PressKey(VK_END, {VK_SHIFT});
    PressKey(VK_DELETE);
    EXPECT_TRUE(s.app.WaitText(L""));
    s.app.Kill();
}

TEST(EditEndToEnd, CtrlZDoesNothingBeforeTypingAndUndoesTheTypingAfter) {
    Started s;
    Start(s, L"текст");
    App& app = s.app;
    PressKey(VK_END, {VK_CONTROL});
    PressKey('Z', {VK_CONTROL});
    app.Sync();
    EXPECT_EQ(app.Text(), L"текст");

    TypeText(L"!");
    ASSERT_TRUE(app.WaitText(L"текст!"));
    PressKey('Z', {VK_CONTROL});
    EXPECT_TRUE(app.WaitText(L"текст"));
    app.Kill();
}

TEST(EditEndToEnd, TheRightClickMenuEnablesItemsByTheSelectionAndUndo) {
    Started s;
    Start(s, L"слово");
    App& app = s.app;
    SetClipboardPlain(L"прежнее");

    // Nothing selected, nothing typed: Undo, Cut and Copy are disabled, choosing Copy does
    // nothing and the clipboard keeps what it had.
    PressKey(VK_END, {VK_CONTROL});
    app.Sync();
    ChooseFromContextMenu(app, 3, Opening::RightClick); // Undo, Cut, Copy
    EXPECT_EQ(ClipboardText(), L"прежнее");
    EXPECT_EQ(app.Text(), L"слово");

    // Paste is always there.
    ChooseFromContextMenu(app, 4, Opening::ShiftF10);
    EXPECT_TRUE(app.WaitText(L"словопрежнее"));

    // With a selection Copy works from the context menu.
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_END, {VK_SHIFT});
    app.Sync();
    ChooseFromContextMenu(app, 3, Opening::ShiftF10);
    EXPECT_TRUE(WaitFor([] { return ClipboardText() == L"словопрежнее"; }, 3s));

    // After the paste above Undo is enabled and undoes it.
    ChooseFromContextMenu(app, 1, Opening::ShiftF10);
    EXPECT_TRUE(app.WaitText(L"слово"));
    app.Kill();
}

TEST(EditEndToEnd, ShiftF10OpensTheEditMenu) {
    Started s;
    Start(s, L"x");
    PressKey(VK_F10, {VK_SHIFT});
    EXPECT_NE(WaitPopupMenu(), nullptr);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitPopupGone());
    s.app.Kill();
}

namespace {

// Format → Font… through the keyboard: F10 reaches the menu bar, the third menu is Format and
// its second item is the font command.
HWND OpenFontDialog(App& app) {
    app.Activate();
    PressKey(VK_F10);
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return app.WaitWindow(L"#32770", 10s);
}

constexpr int kSizeCombo = 0x472; // the font dialog's size box

HWND SizeField(HWND dialog) {
    static const std::wstring kEditClass = L"Edit";
    HWND combo = GetDlgItem(dialog, kSizeCombo);
    return combo ? FindDescendant(combo, kEditClass) : nullptr;
}

// Picks a size from the dialog's list, as a click on it would.
bool ChooseSize(HWND dialog, const wchar_t* size) {
    HWND combo = GetDlgItem(dialog, kSizeCombo);
    DWORD_PTR index = CB_ERR;
    if (!combo ||
        !SendMessageTimeoutW(combo, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(size),
                             SMTO_ABORTIFHUNG, 2000, &index) ||
        index == DWORD_PTR(CB_ERR))
        return false;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kSizeCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return true;
}

} // namespace

TEST(FontEndToEnd, AConfirmedChoiceChangesNeitherTheTextNorItsModifiedStateAndLastsAcrossRuns) {
    TempFolder folder;
    std::wstring path = folder.File(L"шрифт.txt");
    ASSERT_TRUE(WriteBytes(path, Cp1251(L"Текст\r\n")));
    {
        App app;
        ASSERT_TRUE(app.Open(path));
        ASSERT_TRUE(app.WaitText(L"Текст\r\n"));
        HWND dialog = OpenFontDialog(app);
        ASSERT_NE(dialog, nullptr) << "no font dialog";
        ASSERT_TRUE(ChooseSize(dialog, L"16"));
        ASSERT_TRUE(WaitFor([&] { return TextOf(SizeField(dialog)) == L"16"; }, 3s));
        ASSERT_TRUE(app.ClickButton(dialog, IDOK));
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(dialog); }, 5s));
        EXPECT_EQ(app.Text(), L"Текст\r\n");
        EXPECT_EQ(app.Caption(), L" шрифт.txt - Квиллет");

        // Not modified: closing asks nothing.
        app.Close();
        MessageBoxInfo box = app.WaitMessageBox(1s);
        EXPECT_EQ(box.hwnd, nullptr) << "asked whether to save";
        if (box.hwnd)
            app.ClickButton(box.hwnd, IDNO);
        EXPECT_EQ(app.WaitExit(10s), 0);
    }
    std::string bytes;
    ASSERT_TRUE(ReadBytes(path, bytes));
    EXPECT_EQ(bytes, Cp1251(L"Текст\r\n"));

    // The next run starts with the chosen size: the dialog opens on it.
    App again;
    ASSERT_TRUE(again.Launch(Env().quilletExe, L"\"" + path + L"\"", {}));
    ASSERT_NE(again.WaitMainWindow(), nullptr);
    ASSERT_TRUE(again.WaitText(L"Текст\r\n"));
    HWND dialog = OpenFontDialog(again);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(WaitFor([&] { return TextOf(SizeField(dialog)) == L"16"; }, 3s))
        << TextOf(SizeField(dialog)).size();
    again.ClickButton(dialog, IDCANCEL);
    again.Kill();
}
