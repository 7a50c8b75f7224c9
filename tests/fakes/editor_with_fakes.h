#pragma once
// An Editor wired to the fakes of every port, with the window's resize and close requests
// routed to the main window's handlers as the real window routes them.

#include "editor/core/editor.h"
#include "editor/core/frm_forma.h"
#include "fakes/cp1251_codec.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_settings_store.h"
#include "fakes/recording_text_control.h"

namespace quillet::fakes {

struct EditorWithFakes {
    EditorWithFakes() : layouts({kEnglishUs, kRussian}, 1), richEvents(ed) {
        ed.ports = {&rich, &window, &messages, &settings, &files, &codec, &layouts, &clipboard};
        rich.SetEvents(&richEvents);
        // As the window is created: the menu captions that start-up relies on.
        window.SetMenuChecked(MenuItem::mFormatPerenosSlov, true);
        rich.model.SetWordWrap(true); // as the check mark says
        window.SetMenuCaption(MenuItem::mFormatKlava, u"Раскладка клавиатуры");
        window.onResize = [this] { frmForma_Form_Resize(ed); };
        window.onCloseRequested = [this] {
            int16_t cancel = 0;
            frmForma_Form_Unload(ed, cancel);
            closed = cancel == 0;
        };
    }
    EditorWithFakes(const EditorWithFakes&) = delete;
    EditorWithFakes& operator=(const EditorWithFakes&) = delete;

    Editor ed;
    FakeFileSystem files;
    Cp1251Codec codec;
    RecordingTextControl rich{files, codec};
    FakeMainWindow window;
    FakeMessageBoxes messages;
    FakeSettingsStore settings;
    FakeKeyboardLayouts layouts; // English and Russian, Russian active
    FakeClipboard clipboard;
    RichEvents richEvents;
    bool closed = false; // the last close request went ahead
};

} // namespace quillet::fakes
