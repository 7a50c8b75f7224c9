#include "editor/app/main_window_events.h"
#include "editor/files/open_from_dialog.h"
#include "files_fixture.h"

namespace quillet::testing {
namespace {

using OpenCommandTest = FilesTest;

TEST_F(OpenCommandTest, ANameWithoutExtensionLoadsItsTxtFile) {
    files.files[u"C:\\docs\\readme.txt"] = "\xcf\xf0\xe8\xe2\xe5\xf2";
    files.files[u"C:\\docs\\notes.md"] = "# md";
    dialogs.Choose(u"C:\\docs\\readme");
    OnOpen(ed);
    EXPECT_EQ(control.Text(), u"Привет");
    EXPECT_EQ(ed.doc.path, u"C:\\docs\\readme.txt");
    EXPECT_EQ(window.caption, u" readme.txt - Квиллет");
    EXPECT_EQ(dialogs.shown[0].kind, FileDialogKind::Open);
    EXPECT_EQ(dialogs.shown[0].name, u"");

    dialogs.Choose(u"C:\\docs\\notes.md");
    OnOpen(ed);
    EXPECT_EQ(control.Text(), u"# md");

    dialogs.Choose(u"C:\\docs\\missing");
    OnOpen(ed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Файл \"C:\\docs\\missing.txt\" не найден.");
    EXPECT_EQ(control.Text(), u"# md");
}

TEST_F(OpenCommandTest, OnAModifiedDocumentTheQuestionComesFirstAndNoThenCancelKeepsEverything) {
    Titled(u"C:\\dir\\a.txt", u"edited");
    ed.doc.modified = true;
    messages.onShow = [&] { EXPECT_TRUE(dialogs.shown.empty()); };
    messages.answers = {MessageAnswer::No};
    dialogs.Cancel();

    OnOpen(ed);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Сохранить изменение в файле a.txt?");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(control.Text(), u"edited");
    EXPECT_EQ(window.caption, u" a.txt - Квиллет");
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OpenCommandTest, YesSavesBeforeTheDialogAndAFailedSaveShowsNoDialog) {
    Titled(u"C:\\dir\\a.txt", u"edited");
    ed.doc.modified = true;
    messages.answers = {MessageAnswer::Yes};
    dialogs.onShow = [&] { EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "edited"); };
    dialogs.Cancel();
    OnOpen(ed);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(ed.doc.modified);

    control.SetText(u"more");
    files.readOnly.insert(u"C:\\dir\\a.txt");
    messages.answers = {MessageAnswer::Yes};
    OnOpen(ed);
    EXPECT_EQ(dialogs.shown.size(), 1u); // no Open dialog after the failed save
    EXPECT_EQ(control.Text(), u"more");
    EXPECT_TRUE(ed.doc.modified);

    messages.answers = {MessageAnswer::Cancel};
    OnOpen(ed);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(OpenCommandTest, ADroppedFileOpensAsNamedAfterTheQuestionAndFailsAsOpenDoes) {
    Titled(u"C:\\dir\\a.txt", u"edited");
    ed.doc.modified = true;
    files.files[u"C:\\docs\\README"] = "\xcf\xf0\xe8\xe2\xe5\xf2";
    files.files[u"C:\\docs\\locked.txt"] = "x";
    files.refused.insert(u"C:\\docs\\locked.txt");

    messages.answers = {MessageAnswer::Cancel};
    OnFileDropped(ed, u"C:\\docs\\README");
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Сохранить изменение в файле a.txt?");
    EXPECT_EQ(control.Text(), u"edited");
    EXPECT_EQ(window.caption, u" a.txt - Квиллет");
    EXPECT_TRUE(ed.doc.modified);

    messages.answers = {MessageAnswer::Yes};
    OnFileDropped(ed, u"C:\\docs\\README");
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "edited"); // saved before the drop replaced it
    EXPECT_EQ(control.Text(), u"Привет");
    EXPECT_EQ(window.caption, u" README - Квиллет");
    EXPECT_FALSE(ed.doc.modified);

    OnFileDropped(ed, u"C:\\docs\\locked.txt"); // unmodified: no question
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, u"Файл \"C:\\docs\\locked.txt\" открыть не возможно.");
    EXPECT_EQ(control.Text(), u"Привет");
    EXPECT_EQ(ed.doc.path, u"C:\\docs\\README");
    EXPECT_TRUE(dialogs.shown.empty());
}

using ClosingTest = FilesTest;

TEST_F(ClosingTest, CancelKeepsTheWindowAndNoDiscardsButWritesTheSettings) {
    Type(u"draft");
    messages.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(OnCloseRequested(ed));
    EXPECT_TRUE(settings.writes.empty());
    EXPECT_TRUE(ed.doc.modified);

    messages.answers = {MessageAnswer::No};
    EXPECT_TRUE(OnCloseRequested(ed));
    EXPECT_FALSE(settings.writes.empty());
    EXPECT_EQ(files.writes, 0);
}

TEST_F(ClosingTest, YesWithACancelledSaveAsKeepsTheWindowOpen) {
    Type(u"draft");
    messages.answers = {MessageAnswer::Yes};
    dialogs.Cancel();
    EXPECT_FALSE(OnCloseRequested(ed));
    EXPECT_TRUE(settings.writes.empty());

    messages.answers = {MessageAnswer::Yes};
    dialogs.Choose(u"C:\\dir\\draft");
    EXPECT_TRUE(OnCloseRequested(ed));
    EXPECT_EQ(files.files[u"C:\\dir\\draft.txt"], "draft");
    EXPECT_FALSE(settings.writes.empty());
}

} // namespace
} // namespace quillet::testing
