#include "editor/files/save_changes.h"
#include "files_fixture.h"

namespace quillet::testing {
namespace {

using SaveChangesTest = FilesTest;

TEST_F(SaveChangesTest, TheQuestionNamesTheDocumentAndOffersYesNoAndCancel) {
    Type(u"x");
    messages.answers = {MessageAnswer::Cancel};
    EXPECT_EQ(AskSaveChanges(ed), SaveChangesAnswer::Stop);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Сохранить изменение в файле?");
    EXPECT_EQ(messages.shown[0].title, u"Квиллет");
    EXPECT_EQ(messages.shown[0].style.icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].style.buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(messages.shown[0].style.defaultAnswer, MessageAnswer::Yes);

    Titled(u"C:\\Документы\\письмо.txt", u"x");
    EXPECT_EQ(SaveChangesQuestion(ed.doc), u"Сохранить изменение в файле письмо.txt?");
}

TEST_F(SaveChangesTest, NewOnAnUnmodifiedDocumentAsksNothingAndLeavesAnEmptyUntitledOne) {
    Titled(u"C:\\dir\\a.txt", u"text");
    ed.search.nextStart = 3;
    ed.doc.undoAllowed = true;
    ed.doc.dialogFolder = u"C:\\dir\\";

    OnNew(ed);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(control.Text(), u"");
    EXPECT_EQ(window.caption, u"Квиллет");
    EXPECT_EQ(ed.doc.path, u"");
    EXPECT_EQ(ed.doc.displayName, u"");
    EXPECT_FALSE(ed.doc.modified);
    EXPECT_FALSE(ed.doc.undoAllowed);
    EXPECT_EQ(ed.search.nextStart, 0);
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\dir\\");
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "old");
}

TEST_F(SaveChangesTest, NewAnsweredCancelChangesNothing) {
    Titled(u"C:\\dir\\a.txt", u"text");
    ed.doc.modified = true;
    messages.answers = {MessageAnswer::Cancel};
    OnNew(ed);
    EXPECT_EQ(control.Text(), u"text");
    EXPECT_EQ(ed.doc.path, u"C:\\dir\\a.txt");
    EXPECT_EQ(window.caption, u" a.txt - Квиллет");
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(files.writes, 0);
}

TEST_F(SaveChangesTest, NewAnsweredNoDiscardsTheChanges) {
    Titled(u"C:\\dir\\a.txt", u"text");
    ed.doc.modified = true;
    messages.answers = {MessageAnswer::No};
    OnNew(ed);
    EXPECT_EQ(control.Text(), u"");
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "old");
    EXPECT_FALSE(ed.doc.modified);
}

TEST_F(SaveChangesTest, NewAnsweredYesSavesFirstThenEmptiesTheDocument) {
    Type(u"draft");
    messages.answers = {MessageAnswer::Yes};
    dialogs.Choose(u"C:\\dir\\draft");
    OnNew(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\draft.txt"], "draft");
    EXPECT_EQ(control.Text(), u"");
    EXPECT_EQ(window.caption, u"Квиллет");
    EXPECT_EQ(ed.doc.path, u"");
    EXPECT_FALSE(ed.doc.modified);
}

// Yes means "keep my work": when it was not saved, the document must stay.
TEST_F(SaveChangesTest, YesNeverLosesTheDocumentWhenTheSaveDoesNotHappen) {
    Type(u"draft");

    messages.answers = {MessageAnswer::Yes};
    dialogs.Cancel();
    OnNew(ed);
    EXPECT_EQ(control.Text(), u"draft");
    EXPECT_TRUE(ed.doc.modified);

    messages.answers = {MessageAnswer::Yes, MessageAnswer::No};
    files.files[u"C:\\dir\\taken.txt"] = "someone else's";
    dialogs.Choose(u"C:\\dir\\taken.txt");
    EXPECT_EQ(AskSaveChanges(ed), SaveChangesAnswer::Stop);
    EXPECT_EQ(files.files[u"C:\\dir\\taken.txt"], "someone else's");

    Titled(u"C:\\dir\\ro.txt", u"edited");
    ed.doc.modified = true;
    files.readOnly.insert(u"C:\\dir\\ro.txt");
    size_t before = messages.shown.size();
    messages.answers = {MessageAnswer::Yes};
    OnNew(ed);
    ASSERT_EQ(messages.shown.size(), before + 2);
    EXPECT_EQ(messages.shown.back().text, u"Файл \"C:\\dir\\ro.txt\" защищён от записи.");
    EXPECT_EQ(control.Text(), u"edited");
    EXPECT_EQ(ed.doc.path, u"C:\\dir\\ro.txt");
    EXPECT_TRUE(ed.doc.modified);

    files.readOnly.clear();
    files.failWrites = true;
    messages.answers = {MessageAnswer::Yes};
    EXPECT_EQ(AskSaveChanges(ed), SaveChangesAnswer::Stop);
    EXPECT_EQ(messages.shown.back().text, u"Файл \"C:\\dir\\ro.txt\" сохранить не возможно.");
}

} // namespace
} // namespace quillet::testing
