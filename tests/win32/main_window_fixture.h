#pragma once
// The main window and its text view in-process, with the core attached as WinMain attaches it,
// on fakes where a test is not about the platform's service. The real clipboard is wired only
// when asked for.

#include "editor/app/commands.h"
#include "editor/app/main_window_events.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/main_window.h"
#include "editor/win32/menu_bar.h"
#include "editor/win32/text_view.h"

#include "fakes/cp1251_codec.h"
#include "fakes/fake_about_box.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_file_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_find_dialog.h"
#include "fakes/fake_font_dialog.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_settings_store.h"
#include "fakes/fake_shell.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace quillet::testing_win32 {

// What the window shows, read back from the platform.
inline std::u16string WindowCaption(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return std::u16string(text, text + wcslen(text));
}
inline UINT MenuState(HWND window, MenuItem item) {
    int position = win32::MenuPosition(item);
    HMENU bar = GetMenu(window);
    return position >= 0 ? GetMenuState(bar, UINT(position), MF_BYPOSITION)
                         : GetMenuState(bar, win32::CommandId(item), MF_BYCOMMAND);
}
inline bool MenuEnabled(HWND window, MenuItem item) {
    UINT state = MenuState(window, item);
    return state != UINT(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}
inline bool MenuChecked(HWND window, MenuItem item) {
    UINT state = MenuState(window, item);
    return state != UINT(-1) && (state & MF_CHECKED);
}
inline std::u16string MenuCaption(HWND window, MenuItem item) {
    int position = win32::MenuPosition(item);
    wchar_t text[256] = {};
    if (position >= 0)
        GetMenuStringW(GetMenu(window), UINT(position), text, 256, MF_BYPOSITION);
    else
        GetMenuStringW(GetMenu(window), win32::CommandId(item), text, 256, MF_BYCOMMAND);
    std::u16string caption(text, text + wcslen(text));
    return caption.substr(0, caption.find(u'\t'));
}

class MainWindowFixture : public ::testing::Test {
protected:
    explicit MainWindowFixture(bool withClipboard = false)
        : frame(view), ed({view, frame, messages, settings, files, codec, layouts,
                           withClipboard ? static_cast<Clipboard&>(clipboard) : fakeClipboard, fileDialogs,
                           shell, about, findDialog, fontDialog}),
          events(ed) {
        created = frame.Create(GetModuleHandleW(nullptr));
        clipboard.SetOwner(frame.Handle());
        view.SetEvents(&events);
        frame.Attach(ed);
    }
    ~MainWindowFixture() override { view.SetEvents(nullptr); }

    bool MenuEnabled(MenuItem item) const { return testing_win32::MenuEnabled(frame.Handle(), item); }
    bool MenuChecked(MenuItem item) const { return testing_win32::MenuChecked(frame.Handle(), item); }
    std::u16string MenuCaption(MenuItem item) const {
        return testing_win32::MenuCaption(frame.Handle(), item);
    }

    fakes::FakeFileSystem files;
    fakes::Cp1251Codec codec;
    fakes::FakeMessageBoxes messages;
    fakes::FakeSettingsStore settings;
    fakes::FakeKeyboardLayouts layouts{{fakes::kEnglishUs, fakes::kRussian}, 1}; // Russian active
    fakes::FakeFontDialog fontDialog;
    fakes::FakeClipboard fakeClipboard;
    fakes::FakeFileDialogs fileDialogs;
    fakes::FakeShell shell;
    fakes::FakeAboutBox about;
    fakes::FakeFindDialog findDialog;
    win32::ClipboardWin32 clipboard;
    win32::TextView view{clipboard};
    win32::MainFrame frame;
    Editor ed;
    TextEvents events;
    bool created = false;
};

} // namespace quillet::testing_win32
