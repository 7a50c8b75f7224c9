#pragma once
// An Editor wired to the fakes of every port, with the window's resize and close requests
// routed to the main window's handlers as the real window routes them.

#include "editor/app/main_window_events.h"
#include "editor/document/editor.h"
#include "fakes/cp1251_codec.h"
#include "fakes/fake_about_box.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_file_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_find_dialog.h"
#include "fakes/fake_font_dialog.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_settings_store.h"
#include "fakes/fake_shell.h"
#include "fakes/recording_text_control.h"

namespace quillet::fakes {

struct EditorWithFakes {
    EditorWithFakes() {
        control.SetEvents(&textEvents);
        // As the window is created: wrapping, with the menu captions that start-up relies on.
        window.SetMenuChecked(MenuItem::WordWrap, true);
        control.wordWrap = true;
        window.SetMenuCaption(MenuItem::KeyboardLayout, u"Раскладка клавиатуры");
        window.onResize = [this] { OnResize(ed); };
        window.onCloseRequested = [this] { closed = OnCloseRequested(ed); };
    }
    EditorWithFakes(const EditorWithFakes&) = delete;
    EditorWithFakes& operator=(const EditorWithFakes&) = delete;

    FakeFileSystem files;
    Cp1251Codec codec;
    RecordingTextControl control;
    FakeMainWindow window;
    FakeMessageBoxes messages;
    FakeSettingsStore settings;
    FakeKeyboardLayouts layouts{{kEnglishUs, kRussian}, 1}; // Russian active
    FakeClipboard clipboard;
    FakeFileDialogs fileDialogs;
    FakeShell shell;
    FakeAboutBox about;
    FakeFindDialog findDialog;
    FakeFontDialog fontDialog;
    Editor ed{{control, window, messages, settings, files, codec, layouts, clipboard, fileDialogs, shell,
               about, findDialog, fontDialog}};
    TextEvents textEvents{ed};
    bool closed = false; // the last close request went ahead
};

} // namespace quillet::fakes
