#pragma once
// An editor on fakes for the file commands: a titled or untitled document, a scripted dialog
// and message boxes, and the main window's change handler.

#include "fakes/editor_with_fakes.h"
#include "fakes/fake_file_dialogs.h"

#include <gtest/gtest.h>

namespace quillet::testing {

class FilesTest : public ::testing::Test, public fakes::EditorWithFakes {
protected:
    FilesTest() {
        ed.ports.fileDialogs = &dialogs;
        ed.doc.PathSeparator = u"\\";
        ed.doc.AppFolder = u"C:\\Program Files\\Quillet\\";
        ed.doc.DialogFolder = ed.doc.AppFolder;
        window.caption = kAppTitle;
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

    fakes::FakeFileDialogs dialogs;
};

} // namespace quillet::testing
