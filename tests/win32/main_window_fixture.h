#pragma once
// The main window and its text view in-process, with the core attached as WinMain attaches it,
// on fakes where a test is not about the platform's service. The real clipboard is wired only
// when asked for, so tests can also see a command whose port is missing.

#include "editor/core/commands.h"
#include "editor/core/frm_forma.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/main_window.h"
#include "editor/win32/text_view.h"

#include "fakes/cp1251_codec.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_font_dialog.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_settings_store.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace quillet::testing_win32 {

class MainWindowFixture : public ::testing::Test {
protected:
    explicit MainWindowFixture(bool withClipboard = false) : view(files, codec), frame(view), events(ed) {
        created = frame.Create(GetModuleHandleW(nullptr));
        clipboard.SetOwner(frame.Handle());
        ed.ports.rich = &view;
        ed.ports.window = &frame;
        ed.ports.messages = &messages;
        ed.ports.settings = &settings;
        ed.ports.files = &files;
        ed.ports.codec = &codec;
        ed.ports.layouts = &layouts;
        if (withClipboard)
            ed.ports.clipboard = &clipboard;
        ed.ports.fontDialog = &fontDialog;
        view.SetEvents(&events);
        ApplyCommandAvailability(ed);
        frame.Attach(ed);
    }
    ~MainWindowFixture() override { view.SetEvents(nullptr); }

    fakes::FakeFileSystem files;
    fakes::Cp1251Codec codec;
    fakes::FakeMessageBoxes messages;
    fakes::FakeSettingsStore settings;
    fakes::FakeKeyboardLayouts layouts{{fakes::kEnglishUs, fakes::kRussian}, 1}; // Russian active
    fakes::FakeFontDialog fontDialog;
    win32::ClipboardWin32 clipboard;
    win32::TextView view;
    win32::MainFrame frame;
    Editor ed;
    RichEvents events;
    bool created = false;
};

} // namespace quillet::testing_win32
