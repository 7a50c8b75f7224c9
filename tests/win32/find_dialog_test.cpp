#include "editor/win32/find_dialog.h"

#include "editor/find/search.h"
#include "editor/win32/resource.h"
#include "fakes/editor_with_fakes.h"
#include "win32/screenshot.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

namespace quillet {
namespace {

using win32::FindDialogWin32;

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

int Px(int twips) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(twips, dpi, 1440);
}

HWND Item(HWND dialog, FindControl control) {
    return GetDlgItem(dialog, FindDialogWin32::ControlId(control));
}

HWND FieldOf(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(combo, &info);
    return info.hwndItem;
}

// Keys as the user presses them: posted, so they pass through the dialog's own loop.
void Press(HWND target, UINT key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void Type(HWND target, std::wstring_view text) {
    for (wchar_t c : text)
        PostMessageW(target, WM_CHAR, c, 1);
}

// Runs steps one after another inside the dialog's modal loop, each once the messages of the
// previous one have been handled. A dialog that never closes is ended after a while, so a fault
// fails the test instead of hanging it.
class FindDialogTest : public ::testing::Test {
protected:
    FindDialogTest() {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        dialog.SetOwner(owner);
        dialog.Attach(editor);
        dialog.onShown = [this](HWND hwnd) {
            shown = hwnd;
            timer = SetTimer(nullptr, 0, 30, Tick);
        };
    }
    ~FindDialogTest() override { DestroyWindow(owner); }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        FindDialogTest& t = *current;
        if (!IsWindow(t.shown))
            return;
        if (t.steps.empty() || ++t.ticks > 300) {
            t.forcedClose = true;
            EndDialog(t.shown, 0);
            return;
        }
        auto step = std::move(t.steps.front());
        t.steps.pop_front();
        step(t.shown);
        t.timer = SetTimer(nullptr, 0, 30, Tick);
    }

    // Opens the dialog with the command, runs the steps, returns once it has closed.
    void Run(void (*command)(Editor&), std::deque<std::function<void(HWND)>> script) {
        current = this;
        steps = std::move(script);
        command(editor);
        KillTimer(nullptr, timer);
    }

    static inline FindDialogTest* current = nullptr;
    fakes::EditorWithFakes fakes; // all but the dialog itself
    fakes::RecordingTextControl& control = fakes.control;
    fakes::FakeMessageBoxes& messages = fakes.messages;
    FindDialogWin32 dialog{GetModuleHandleW(nullptr)};
    Editor editor{{control, fakes.window, messages, fakes.settings, fakes.files, fakes.codec, fakes.layouts,
                   fakes.clipboard, fakes.fileDialogs, fakes.shell, fakes.about, dialog, fakes.fontDialog}};
    HWND owner = nullptr;
    HWND shown = nullptr;
    std::deque<std::function<void(HWND)>> steps;
    UINT_PTR timer = 0;
    int ticks = 0;
    bool forcedClose = false;
};

TEST_F(FindDialogTest, FindLayoutAsDesignedRescaledForTwiceTheDpiEnablesFindOnTypingAndEnterSelects) {
    control.SetText(u"one two one");
    RECT suggested{}, rescaled{}, button{};
    LOGFONTW rescaledFont{};
    std::wstring caption;
    RECT client{};
    bool ownerEnabled = true, replaceShown = true, findEnabledAtFirst = true, findEnabledAfterTyping = false;
    bool focusInField = false;
    std::wstring checkCaption;
    RECT outer{};
    LONG_PTR style = 0, exStyle = 0;
    HWND seenOwner = nullptr;
    RECT label{};
    LOGFONTW font{};
    Run(OnFind, {[&](HWND d) {
                     caption = TextOf(d);
                     GetClientRect(d, &client);
                     GetWindowRect(d, &outer);
                     style = GetWindowLongPtrW(d, GWL_STYLE);
                     exStyle = GetWindowLongPtrW(d, GWL_EXSTYLE);
                     seenOwner = GetWindow(d, GW_OWNER);
                     ownerEnabled = IsWindowEnabled(owner);
                     replaceShown = IsWindowVisible(Item(d, FindControl::ReplaceField)) ||
                                    IsWindowVisible(Item(d, FindControl::ReplaceAllButton));
                     findEnabledAtFirst = IsWindowEnabled(Item(d, FindControl::FindButton));
                     focusInField = GetFocus() == FieldOf(Item(d, FindControl::FindField));
                     GetWindowRect(Item(d, FindControl::FindLabel), &label);
                     MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&label), 2);
                     auto hfont = reinterpret_cast<HFONT>(
                         SendMessageW(Item(d, FindControl::FindField), WM_GETFONT, 0, 0));
                     GetObjectW(hfont, sizeof font, &font);
                     checkCaption = TextOf(Item(d, FindControl::MatchCase));
                     Type(GetFocus(), L"two");
                 },
                 [&](HWND d) {
                     findEnabledAfterTyping = IsWindowEnabled(Item(d, FindControl::FindButton));
                     testing::SaveScreenshot(d, "find_dialog_find_layout");
                     suggested = outer; // moved to a screen of twice the DPI
                     suggested.right += outer.right - outer.left;
                     suggested.bottom += outer.bottom - outer.top;
                     const auto place = reinterpret_cast<LPARAM>(&suggested);
                     SendMessageW(d, WM_DPICHANGED, MAKEWPARAM(192, 192), place);
                     GetWindowRect(d, &rescaled);
                     HWND findButton = Item(d, FindControl::FindButton);
                     GetWindowRect(findButton, &button);
                     MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&button), 2);
                     auto buttonFont = reinterpret_cast<HFONT>(SendMessageW(findButton, WM_GETFONT, 0, 0));
                     GetObjectW(buttonFont, sizeof rescaledFont, &rescaledFont);
                     Press(GetFocus(), VK_RETURN);
                 }});
    EXPECT_FALSE(forcedClose) << "Enter with a match closes the dialog";
    EXPECT_EQ(caption, L"Найти");
    EXPECT_EQ(checkCaption, L"С учётом регистра");
    // A fixed frame with only the close box, owned (no task-bar button), in the screen's middle.
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(seenOwner, owner);
    EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_EQ(client.right, Px(6030));
    EXPECT_EQ(client.bottom, Px(1500));
    EXPECT_FALSE(ownerEnabled);
    EXPECT_FALSE(replaceShown);
    EXPECT_FALSE(findEnabledAtFirst);
    EXPECT_TRUE(focusInField);
    EXPECT_TRUE(findEnabledAfterTyping);
    EXPECT_EQ(label.left, Px(75));
    EXPECT_EQ(label.top, Px(150));
    EXPECT_GE(font.lfWeight, FW_BOLD);
    EXPECT_EQ(font.lfCharSet, 204);
    EXPECT_TRUE(EqualRect(&rescaled, &suggested));
    EXPECT_EQ(button.left, MulDiv(4440, 192, 1440));
    EXPECT_EQ(button.right - button.left, MulDiv(1470, 192, 1440));
    EXPECT_EQ(rescaledFont.lfHeight, -MulDiv(825, 192, 7200));
    EXPECT_EQ(control.SelStart(), 4);
    EXPECT_EQ(control.SelLength(), 3);
    EXPECT_EQ(editor.search.pattern, u"two");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FindDialogTest, ReplaceLayoutOffersTheHistoryAndReplacesAllWithTheCount) {
    control.SetText(u"Да да ДА нет");
    editor.search.history = {u"да", u"нет"};
    control.SetSelStart(9);
    control.SetSelLength(3); // «нет» leads the search list
    std::wstring caption;
    RECT outer{};
    bool replaceShown = false;
    int findEntries = 0, replaceEntries = 0;
    std::wstring firstEntry, fieldText;
    Run(OnReplace,
        {[&](HWND d) {
             caption = TextOf(d);
             GetWindowRect(d, &outer);
             replaceShown = IsWindowVisible(Item(d, FindControl::ReplaceField)) &&
                            IsWindowVisible(Item(d, FindControl::ReplaceLabel)) &&
                            IsWindowEnabled(Item(d, FindControl::ReplaceAllButton));
             findEntries = int(SendMessageW(Item(d, FindControl::FindField), CB_GETCOUNT, 0, 0));
             replaceEntries = int(SendMessageW(Item(d, FindControl::ReplaceField), CB_GETCOUNT, 0, 0));
             wchar_t entry[64] = {};
             SendMessageW(Item(d, FindControl::FindField), CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(entry));
             firstEntry = entry;
             fieldText = TextOf(Item(d, FindControl::FindField));
             testing::SaveScreenshot(d, "find_dialog_replace_layout");
             SetFocus(FieldOf(Item(d, FindControl::FindField)));
             SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
             Type(GetFocus(), L"да");
             SetFocus(FieldOf(Item(d, FindControl::ReplaceField)));
             Type(GetFocus(), L"ok");
         },
         [&](HWND d) { SendMessageW(Item(d, FindControl::ReplaceAllButton), BM_CLICK, 0, 0); }});
    EXPECT_FALSE(forcedClose);
    EXPECT_EQ(caption, L"Заменить");
    EXPECT_EQ(outer.bottom - outer.top, Px(2350));
    EXPECT_TRUE(replaceShown);
    EXPECT_EQ(findEntries, 3);
    EXPECT_EQ(replaceEntries, 2);
    EXPECT_EQ(firstEntry, L"нет");
    EXPECT_EQ(fieldText, L"нет");
    EXPECT_EQ(control.Text(), u"ok ok ok нет");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Количество замен: 3");
    EXPECT_EQ(editor.search.history, (std::vector<std::u16string>{u"да", u"нет", u"ok"}));
}

TEST_F(FindDialogTest, EscapeClosesOnlyFromAFieldAndTheCheckBoxOutlivesCancel) {
    bool openAfterEscapeOnCheckBox = false;
    Run(OnReplace, {[&](HWND d) {
                        SendMessageW(Item(d, FindControl::MatchCase), BM_CLICK, 0, 0);
                        SetFocus(Item(d, FindControl::MatchCase));
                        Press(GetFocus(), VK_ESCAPE);
                    },
                    [&](HWND d) {
                        openAfterEscapeOnCheckBox = IsWindowVisible(d);
                        SetFocus(FieldOf(Item(d, FindControl::ReplaceField)));
                        Press(GetFocus(), VK_ESCAPE);
                    }});
    EXPECT_FALSE(forcedClose) << "Escape in the replacement field closes";
    EXPECT_TRUE(openAfterEscapeOnCheckBox);
    EXPECT_TRUE(editor.search.matchCase);

    bool ticked = false;
    Run(OnFind, {[&](HWND d) {
            ticked = IsDlgButtonChecked(d, FindDialogWin32::ControlId(FindControl::MatchCase)) == BST_CHECKED;
            SendMessageW(Item(d, FindControl::CancelButton), BM_CLICK, 0, 0);
        }});
    EXPECT_FALSE(forcedClose);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(editor.search.matchCase);
}

TEST_F(FindDialogTest, AMissKeepsTheDialogOpenUntilTheCloseBox) {
    control.SetText(u"abc");
    bool openAfterMiss = false;
    Run(OnFind, {[&](HWND) { Type(GetFocus(), L"zz"); },
                 [&](HWND d) { SendMessageW(Item(d, FindControl::FindButton), BM_CLICK, 0, 0); },
                 [&](HWND d) {
                     openAfterMiss = IsWindowVisible(d);
                     PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
                 }});
    EXPECT_FALSE(forcedClose);
    EXPECT_TRUE(openAfterMiss);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Текст не найден.");
}

} // namespace
} // namespace quillet
