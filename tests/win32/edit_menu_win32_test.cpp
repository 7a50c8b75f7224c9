// The Edit menu's rules in the real main window and text view, in-process: what the menu
// shows when it opens, and shortcuts that act on the selection of the moment.

#include "editor/win32/menu_bar.h"
#include "win32/main_window_fixture.h"

#include <windows.h>

namespace quillet {
namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class EditMenuWin32Test : public testing_win32::MainWindowFixture {
protected:
    EditMenuWin32Test() : MainWindowFixture(true) {}
    ~EditMenuWin32Test() override { SetCtrl(false); }

    void OpenEditMenu() {
        HMENU edit = GetSubMenu(GetMenu(frame.Handle()), win32::MenuPosition(MenuItem::EditMenu));
        SendMessageW(frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 1);
    }
    static void SetCtrl(bool down) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
    // A key as the message loop delivers it: the window's accelerators first, then the
    // key-down with its character already queued by TranslateMessage.
    bool Press(WPARAM vk, bool ctrl, wchar_t ch = 0) {
        SetCtrl(ctrl);
        MSG msg{view.Handle(), WM_KEYDOWN, vk, 1, 0, {}};
        bool accelerator = frame.TranslateShortcut(msg);
        if (!accelerator) {
            if (ch)
                PostMessageW(view.Handle(), WM_CHAR, ch, 1);
            SendMessageW(view.Handle(), WM_KEYDOWN, vk, 1);
        }
        SetCtrl(false);
        Pump();
        return accelerator;
    }
    void Select(int32_t start, int32_t length) {
        view.SetSelStart(start);
        view.SetSelLength(length);
    }
};

TEST_F(EditMenuWin32Test, OpeningTheMenuSetsItsItemsFromTheSelectionAndUndoAllowed) {
    ASSERT_TRUE(created);
    view.SetText(u"один два");
    ed.doc.modified = ed.doc.undoAllowed = false;
    OpenEditMenu();
    EXPECT_FALSE(MenuEnabled(MenuItem::Copy));
    EXPECT_FALSE(MenuEnabled(MenuItem::Cut));
    EXPECT_FALSE(MenuEnabled(MenuItem::Delete));
    EXPECT_FALSE(MenuEnabled(MenuItem::Undo));
    EXPECT_TRUE(MenuEnabled(MenuItem::Paste));

    Select(0, 4);
    ed.doc.undoAllowed = true;
    OpenEditMenu();
    EXPECT_TRUE(MenuEnabled(MenuItem::Copy));
    EXPECT_TRUE(MenuEnabled(MenuItem::Cut));
    EXPECT_TRUE(MenuEnabled(MenuItem::Delete));
    EXPECT_TRUE(MenuEnabled(MenuItem::Undo));
}

TEST_F(EditMenuWin32Test, ShortcutsActOnTheSelectionOfTheMomentWhateverTheMenuLastShowed) {
    ASSERT_TRUE(created);
    view.SetText(u"один два три");
    OpenEditMenu(); // nothing selected: Cut, Copy and Delete show disabled
    ASSERT_FALSE(MenuEnabled(MenuItem::Copy));

    Select(0, 4);
    EXPECT_FALSE(Press('C', true, 0x03)); // not an accelerator: the key rule takes it
    EXPECT_EQ(clipboard.Text(), u"один");

    Select(4, 4);
    Press('X', true, 0x18);
    EXPECT_EQ(view.Text(), u"один три");
    EXPECT_EQ(clipboard.Text(), u" два");

    Select(0, 5);
    EXPECT_FALSE(Press(VK_DELETE, false));
    EXPECT_EQ(view.Text(), u"три");
    // Nothing selected: Del deletes the next character.
    view.SetSelStart(0);
    Press(VK_DELETE, false);
    EXPECT_EQ(view.Text(), u"ри");
}

TEST_F(EditMenuWin32Test, CtrlVPastesThePlainTextOnceAndCtrlZWaitsForTheUsersFirstChange) {
    ASSERT_TRUE(created);
    view.SetText(u"ab");
    ed.doc.modified = ed.doc.undoAllowed = false;
    view.SetSelStart(1);
    ASSERT_TRUE(clipboard.SetText(u"ВСТАВКА"));
    Press('V', true, 0x16);
    EXPECT_EQ(view.Text(), u"aВСТАВКАb");
    EXPECT_TRUE(ed.doc.undoAllowed);

    view.SetText(u"xy"); // as a load does: nothing of the user's to undo
    ed.doc.undoAllowed = false;
    view.SetSelStart(2);
    view.SetSelText(u"z"); // a program write the control could undo
    ed.doc.undoAllowed = false;
    Press('Z', true, 0x1A);
    EXPECT_EQ(view.Text(), u"xyz");
    ed.doc.undoAllowed = true;
    Press('Z', true, 0x1A);
    EXPECT_EQ(view.Text(), u"xy");
}

} // namespace
} // namespace quillet
