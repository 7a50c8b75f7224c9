// The find dialog: the model's twips layout at its monitor's DPI, the user's typing and keys
// passed to the model, Escape closing only from a field.

#include "editor/win32/find_dialog.h"

#include "editor/find/search.h"
#include "fakes/editor_with_fakes.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using win32::FindDialogWin32;

// Keys as the user presses them: posted, so they pass through the dialog's own loop.
void Press(HWND target, UINT key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void Type(HWND target, std::wstring_view text) {
    for (wchar_t c : text)
        PostMessageW(target, WM_CHAR, c, 1);
}

class FindDialogTest : public ::testing::Test {
protected:
    FindDialogTest() { dialog.Attach(editor); }

    bool Run(void (*command)(Editor&), std::vector<testing_win32::Step> steps) {
        return testing_win32::Answer([&] { command(editor); }, std::move(steps));
    }
    static HWND Item(HWND dialog, FindControl control) {
        return GetDlgItem(dialog, FindDialogWin32::ControlId(control));
    }
    // The edit box inside a field's combo box, where the user types.
    static HWND Field(HWND dialog, FindControl control) {
        COMBOBOXINFO info{sizeof info};
        GetComboBoxInfo(Item(dialog, control), &info);
        return info.hwndItem;
    }

    fakes::EditorWithFakes fakes; // all but the dialog itself
    FindDialogWin32 dialog{GetModuleHandleW(nullptr)};
    Editor editor{{fakes.control, fakes.window, fakes.messages, fakes.settings, fakes.files, fakes.codec,
                   fakes.layouts, fakes.clipboard, fakes.fileDialogs, fakes.shell, fakes.about, dialog,
                   fakes.fontDialog}};
};

TEST_F(FindDialogTest, FindIsEnabledByTypingRescalesForTwiceTheDpiAndEnterSelectsTheMatch) {
    fakes.control.SetText(u"one two one");
    RECT outer{}, button{};
    bool enabledAtFirst = true, focusInField = false, enabledAfterTyping = false;
    LOGFONTW font{};
    EXPECT_TRUE(
        Run(OnFind, {[&](HWND d) {
                         GetWindowRect(d, &outer);
                         enabledAtFirst = IsWindowEnabled(Item(d, FindControl::FindButton));
                         focusInField = GetFocus() == Field(d, FindControl::FindField);
                         Type(GetFocus(), L"two");
                     },
                     [&](HWND d) {
                         HWND find = Item(d, FindControl::FindButton);
                         enabledAfterTyping = IsWindowEnabled(find);
                         RECT twice{0, 0, 2 * (outer.right - outer.left), 2 * (outer.bottom - outer.top)};
                         SendMessageW(d, WM_DPICHANGED, MAKEWPARAM(192, 192), LPARAM(&twice));
                         GetWindowRect(find, &button);
                         MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&button), 2);
                         GetObjectW(HFONT(SendMessageW(find, WM_GETFONT, 0, 0)), sizeof font, &font);
                         Press(GetFocus(), VK_RETURN);
                     }}))
        << "Enter on a match closes the dialog";
    EXPECT_NEAR(outer.left + outer.right, GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(outer.top + outer.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
    EXPECT_FALSE(enabledAtFirst);
    EXPECT_TRUE(focusInField);
    EXPECT_TRUE(enabledAfterTyping);
    EXPECT_EQ(button.left, 4440 * 192 / 1440); // twips at the new DPI
    EXPECT_EQ(button.right - button.left, 1470 * 192 / 1440);
    EXPECT_EQ(font.lfHeight, -825 * 192 / 7200); // 8.25 points
    EXPECT_EQ(fakes.control.SelStart(), 4);
    EXPECT_EQ(fakes.control.SelLength(), 3);
}

TEST_F(FindDialogTest, ReplaceListsTheHistoryReplacesAllAndEscapeClosesOnlyFromAField) {
    fakes.control.SetText(u"да да нет");
    editor.search.history = {u"да", u"нет"};
    int listed = 0;
    bool replaceShown = false, openAfterEscapeOnCheckBox = false;
    EXPECT_TRUE(Run(OnReplace, {[&](HWND d) {
                                    listed =
                                        int(SendMessageW(Item(d, FindControl::FindField), CB_GETCOUNT, 0, 0));
                                    replaceShown = IsWindowVisible(Item(d, FindControl::ReplaceField));
                                    SetFocus(Item(d, FindControl::MatchCase));
                                    Press(GetFocus(), VK_ESCAPE);
                                },
                                [&](HWND d) {
                                    openAfterEscapeOnCheckBox = IsWindowVisible(d);
                                    SetFocus(Field(d, FindControl::FindField));
                                    Type(GetFocus(), L"да");
                                    SetFocus(Field(d, FindControl::ReplaceField));
                                    Type(GetFocus(), L"ok");
                                },
                                [&](HWND d) {
                                    SendMessageW(Item(d, FindControl::ReplaceAllButton), BM_CLICK, 0, 0);
                                    SetFocus(Field(d, FindControl::ReplaceField));
                                    Press(GetFocus(), VK_ESCAPE);
                                }}));
    EXPECT_EQ(listed, 2);
    EXPECT_TRUE(replaceShown);
    EXPECT_TRUE(openAfterEscapeOnCheckBox);
    EXPECT_EQ(fakes.control.Text(), u"ok ok нет");

    EXPECT_TRUE(Run(OnFind, {[](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }}))
        << "the close box closes";
}

} // namespace
} // namespace quillet
