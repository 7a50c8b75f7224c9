#pragma once
// An editor on fakes for the file commands: a titled or untitled document, a scripted dialog
// and message boxes, and the main window's change handler.

#include "fakes/editor_with_fakes.h"
#include "fakes/fake_file_dialogs.h"

#include <gtest/gtest.h>

namespace quillet::testing {

struct FilesWorld : fakes::EditorWithFakes {
    FilesWorld() {
        ed.doc.pathSeparator = u"\\";
        ed.doc.programFolder = u"C:\\Program Files\\Quillet\\";
        ed.doc.dialogFolder = ed.doc.programFolder;
        window.caption = kAppTitle;
    }

    // A document as the user leaves it after typing: modified, undoable.
    void Type(std::u16string text) {
        control.SetText(std::move(text));
        ASSERT_TRUE(ed.doc.modified);
    }

    // A titled document as a load leaves it.
    void Titled(std::u16string path, std::u16string text) {
        files.files[path] = "old";
        control.SetText(std::move(text));
        ed.doc.path = path;
        size_t p = path.rfind(u'\\') + 1;
        ed.doc.dialogFolder = path.substr(0, p);
        ed.doc.displayName = u" " + path.substr(p);
        ed.doc.modified = false;
        ed.doc.undoAllowed = false;
        window.SetCaption(ed.doc.displayName + u" - " + kAppTitle);
    }

    fakes::FakeFileDialogs& dialogs = fileDialogs;
};

class FilesTest : public ::testing::Test, public FilesWorld {};

} // namespace quillet::testing
