#include "editor/core/frm_forma.h"
#include "editor/files/open_from_dialog.h"
#include "files_fixture.h"

namespace quillet::testing {
namespace {

using OpenCommandTest = FilesTest;

TEST_F(OpenCommandTest, ANameWithoutExtensionLoadsItsTxtFile) {
    files.files[u"C:\\docs\\readme.txt"] = "\xcf\xf0\xe8\xe2\xe5\xf2";
    files.files[u"C:\\docs\\notes.md"] = "# md";
    dialogs.Choose(u"C:\\docs\\readme");
    frmForma_mnuOpen_Click(ed);
    EXPECT_EQ(rich.Text(), u"Привет");
    EXPECT_EQ(ed.doc.CurrentFilePath, u"C:\\docs\\readme.txt");
    EXPECT_EQ(window.caption, u" readme.txt - Квиллет");
    EXPECT_FALSE(dialogs.shown[0].save);
    EXPECT_EQ(dialogs.shown[0].file, std::u16string(255, u'\0'));

    dialogs.Choose(u"C:\\docs\\notes.md");
    frmForma_mnuOpen_Click(ed);
    EXPECT_EQ(rich.Text(), u"# md");

    dialogs.Choose(u"C:\\docs\\missing");
    frmForma_mnuOpen_Click(ed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Файл \"C:\\docs\\missing.txt\" не найден.");
    EXPECT_EQ(rich.Text(), u"# md");
}

TEST_F(OpenCommandTest, OnAModifiedDocumentTheQuestionComesFirstAndNoThenCancelKeepsEverything) {
    Titled(u"C:\\dir\\a.txt", u"edited");
    ed.doc.Modified = 1;
    messages.onShow = [&] { EXPECT_TRUE(dialogs.shown.empty()); };
    messages.answers = {MessageAnswer::No};
    dialogs.Cancel();

    frmForma_mnuOpen_Click(ed);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Сохранить изменение в файле a.txt?");
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(rich.Text(), u"edited");
    EXPECT_EQ(window.caption, u" a.txt - Квиллет");
    EXPECT_EQ(ed.doc.Modified, 1);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(OpenCommandTest, YesSavesBeforeTheDialogAndAFailedSaveShowsNoDialog) {
    Titled(u"C:\\dir\\a.txt", u"edited");
    ed.doc.Modified = 1;
    messages.answers = {MessageAnswer::Yes};
    dialogs.onShow = [&] { EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "edited"); };
    dialogs.Cancel();
    frmForma_mnuOpen_Click(ed);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(ed.doc.Modified, 0);

    rich.SetText(u"more");
    files.readOnly.insert(u"C:\\dir\\a.txt");
    messages.answers = {MessageAnswer::Yes};
    frmForma_mnuOpen_Click(ed);
    EXPECT_EQ(dialogs.shown.size(), 1u); // no Open dialog after the failed save
    EXPECT_EQ(rich.Text(), u"more");
    EXPECT_EQ(ed.doc.Modified, 1);

    messages.answers = {MessageAnswer::Cancel};
    frmForma_mnuOpen_Click(ed);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

using ClosingTest = FilesTest;

TEST_F(ClosingTest, CancelKeepsTheWindowAndNoDiscardsButWritesTheSettings) {
    Type(u"draft");
    int16_t cancel = 0;
    messages.answers = {MessageAnswer::Cancel};
    frmForma_Form_Unload(ed, cancel);
    EXPECT_EQ(cancel, 1);
    EXPECT_TRUE(settings.writes.empty());
    EXPECT_EQ(ed.doc.Modified, 1);

    cancel = 0;
    messages.answers = {MessageAnswer::No};
    frmForma_Form_Unload(ed, cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_FALSE(settings.writes.empty());
    EXPECT_EQ(files.writes, 0);
}

TEST_F(ClosingTest, YesWithACancelledSaveAsKeepsTheWindowOpen) {
    Type(u"draft");
    int16_t cancel = 0;
    messages.answers = {MessageAnswer::Yes};
    dialogs.Cancel();
    frmForma_Form_Unload(ed, cancel);
    EXPECT_EQ(cancel, 1);
    EXPECT_TRUE(settings.writes.empty());

    cancel = 0;
    messages.answers = {MessageAnswer::Yes};
    dialogs.Choose(u"C:\\dir\\draft");
    frmForma_Form_Unload(ed, cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_EQ(files.files[u"C:\\dir\\draft.txt"], "draft");
    EXPECT_FALSE(settings.writes.empty());
}

} // namespace
} // namespace quillet::testing
