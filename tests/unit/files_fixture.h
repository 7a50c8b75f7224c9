#pragma once
// An editor on fakes for the file commands: a titled or untitled document, a scripted dialog
// and message boxes, and the main window's change handler.

#include "editor/control/text_model.h"
#include "editor/core/editor.h"
#include "editor/core/frm_forma.h"
#include "fakes/cp1251_codec.h"
#include "fakes/fake_file_dialogs.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/fake_settings_store.h"

#include <gtest/gtest.h>

namespace quillet::testing {

class FilesTest : public ::testing::Test {
protected:
    FilesTest() {
        ed.ports.rich = &rich;
        ed.ports.window = &window;
        ed.ports.messages = &messages;
        ed.ports.files = &files;
        ed.ports.codec = &codec;
        ed.ports.fileDialogs = &dialogs;
        ed.ports.settings = &settings;
        ed.ports.layouts = &layouts;
        ed.doc.PathSeparator = u"\\";
        ed.doc.AppFolder = u"C:\\Program Files\\Quillet\\";
        ed.doc.DialogFolder = ed.doc.AppFolder;
        window.caption = kAppTitle;
        rich.SetEvents(&richEvents);
    }

    // A document as the user leaves it after typing: modified, undoable.
    void Type(std::u16string text) {
        rich.SetText(std::move(text));
        ASSERT_EQ(ed.doc.Modified, 1);
    }

    // A titled document as a load leaves it.
    void Titled(std::u16string path, std::u16string text) {
        files.files[path] = "old";
        rich.SetText(std::move(text));
        ed.doc.CurrentFilePath = path;
        size_t p = path.rfind(u'\\') + 1;
        ed.doc.DialogFolder = path.substr(0, p);
        ed.doc.DisplayName = u" " + path.substr(p);
        ed.doc.Modified = 0;
        ed.doc.UndoAllowed = 0;
        window.SetCaption(ed.doc.DisplayName + u" - " + kAppTitle);
    }

    fakes::FakeFileSystem files;
    fakes::Cp1251Codec codec;
    TextModel rich{files, codec};
    fakes::FakeMainWindow window;
    fakes::FakeMessageBoxes messages;
    fakes::FakeFileDialogs dialogs;
    fakes::FakeSettingsStore settings;
    fakes::FakeKeyboardLayouts layouts{{fakes::kRussian, fakes::kEnglishUs}, 0};
    Editor ed;
    RichEvents richEvents{ed};
};

} // namespace quillet::testing
