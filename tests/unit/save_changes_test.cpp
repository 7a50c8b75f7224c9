#include "editor/app/main_window_events.h"
#include "editor/files/open_from_dialog.h"
#include "editor/files/save_changes.h"
#include "files_fixture.h"

#include <string>

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

// New, Open and closing the window replace a modified document only as its answer says: Cancel
// and a save that fails keep everything, No discards, Yes saves first.
TEST(SaveChangesMatrix, NewOpenAndCloseFollowTheAnswerAndYesNeverLosesTheDocument) {
    enum Command { New, Open, Close };
    enum Answer { Cancel, No, Yes, YesButReadOnly };
    for (Command command : {New, Open, Close}) {
        for (Answer answer : {Cancel, No, Yes, YesButReadOnly}) {
            SCOPED_TRACE(std::to_string(command) + " answered " + std::to_string(answer));
            FilesWorld f;
            f.Titled(u"C:\\dir\\a.txt", u"edited");
            f.ed.doc.modified = true;
            f.files.files[u"C:\\dir\\b.txt"] = "b";
            f.dialogs.Choose(u"C:\\dir\\b.txt");
            if (answer == YesButReadOnly)
                f.files.readOnly.insert(u"C:\\dir\\a.txt");
            f.messages.answers = {answer == Cancel ? MessageAnswer::Cancel
                                  : answer == No   ? MessageAnswer::No
                                                   : MessageAnswer::Yes};
            f.dialogs.onShow = [&] { // the question and the save come before the dialog
                EXPECT_EQ(f.messages.shown.size(), 1u);
                EXPECT_EQ(f.files.files[u"C:\\dir\\a.txt"], answer == Yes ? "edited" : "old");
            };
            bool closes = false;
            if (command == New)
                OnNew(f.ed);
            else if (command == Open)
                OnOpen(f.ed);
            else
                closes = OnCloseRequested(f.ed);

            ASSERT_GE(f.messages.shown.size(), 1u);
            EXPECT_EQ(f.messages.shown[0].text, u"Сохранить изменение в файле a.txt?");
            EXPECT_EQ(f.files.files[u"C:\\dir\\a.txt"], answer == Yes ? "edited" : "old");
            const bool goesOn = answer == No || answer == Yes;
            if (answer == YesButReadOnly)
                EXPECT_EQ(f.messages.shown.back().text, u"Файл \"C:\\dir\\a.txt\" защищён от записи.");
            EXPECT_EQ(f.dialogs.shown.size(), command == Open && goesOn ? 1u : 0u);
            EXPECT_EQ(closes, command == Close && goesOn);
            EXPECT_EQ(f.settings.writes.empty(), !(command == Close && goesOn)); // written as it closes
            if (!goesOn) {
                EXPECT_EQ(f.control.Text(), u"edited");
                EXPECT_EQ(f.window.caption, u" a.txt - Квиллет");
                EXPECT_TRUE(f.ed.doc.modified);
            } else if (command != Close) {
                EXPECT_EQ(f.control.Text(), command == New ? u"" : u"b");
                EXPECT_EQ(f.window.caption, command == New ? u"Квиллет" : u" b.txt - Квиллет");
                EXPECT_FALSE(f.ed.doc.modified);
            }
        }
    }
}

TEST_F(SaveChangesTest, NewLeavesAnEmptyUntitledDocumentAndASaveAsThatDoesNotHappenKeepsTheWork) {
    Titled(u"C:\\dir\\a.txt", u"text");
    ed.search.nextStart = 3;
    ed.doc.undoAllowed = true;
    OnNew(ed); // unmodified: no question
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ed.doc.path, u"");
    EXPECT_EQ(ed.doc.displayName, u"");
    EXPECT_FALSE(ed.doc.undoAllowed);
    EXPECT_EQ(ed.search.nextStart, 0);
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\dir\\");

    // Untitled: Yes asks for a name; a cancelled dialog or a refused overwrite keeps the draft.
    Type(u"draft");
    messages.answers = {MessageAnswer::Yes};
    dialogs.Cancel();
    OnNew(ed);
    EXPECT_EQ(control.Text(), u"draft");
    messages.answers = {MessageAnswer::Yes, MessageAnswer::No};
    files.files[u"C:\\dir\\taken.txt"] = "someone else's";
    dialogs.Choose(u"C:\\dir\\taken.txt");
    EXPECT_EQ(AskSaveChanges(ed), SaveChangesAnswer::Stop);
    EXPECT_EQ(files.files[u"C:\\dir\\taken.txt"], "someone else's");
    files.failWrites = true;
    messages.answers = {MessageAnswer::Yes};
    dialogs.Choose(u"C:\\dir\\draft");
    EXPECT_EQ(AskSaveChanges(ed), SaveChangesAnswer::Stop);
    EXPECT_EQ(messages.shown.back().text, u"Файл \"C:\\dir\\draft.txt\" сохранить не возможно.");
    files.failWrites = false;
    messages.answers = {MessageAnswer::Yes};
    dialogs.Choose(u"C:\\dir\\draft");
    OnNew(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\draft.txt"], "draft");
    EXPECT_EQ(control.Text(), u"");
}

TEST_F(SaveChangesTest, OpenAddsTxtToABareNameAndADroppedFileOpensAsNamed) {
    files.files[u"C:\\docs\\readme.txt"] = "\xcf\xf0\xe8\xe2\xe5\xf2";
    files.files[u"C:\\docs\\README"] = "bare";
    files.files[u"C:\\docs\\locked.txt"] = "x";
    files.refused.insert(u"C:\\docs\\locked.txt");
    dialogs.Choose(u"C:\\docs\\readme");
    OnOpen(ed);
    EXPECT_EQ(control.Text(), u"Привет");
    EXPECT_EQ(ed.doc.path, u"C:\\docs\\readme.txt");
    EXPECT_EQ(dialogs.shown[0].kind, FileDialogKind::Open);
    EXPECT_EQ(dialogs.shown[0].name, u"");
    dialogs.Choose(u"C:\\docs\\missing");
    OnOpen(ed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Файл \"C:\\docs\\missing.txt\" не найден.");
    EXPECT_EQ(control.Text(), u"Привет");

    Type(u"edited");
    messages.answers = {MessageAnswer::Cancel};
    OnFileDropped(ed, u"C:\\docs\\README");
    EXPECT_EQ(messages.shown.back().text, u"Сохранить изменение в файле readme.txt?");
    EXPECT_EQ(control.Text(), u"edited");
    messages.answers = {MessageAnswer::No};
    OnFileDropped(ed, u"C:\\docs\\README");
    EXPECT_EQ(control.Text(), u"bare");
    EXPECT_EQ(window.caption, u" README - Квиллет");
    OnFileDropped(ed, u"C:\\docs\\locked.txt"); // unmodified: no question
    EXPECT_EQ(messages.shown.back().text, u"Файл \"C:\\docs\\locked.txt\" открыть не возможно.");
    EXPECT_EQ(ed.doc.path, u"C:\\docs\\README");
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

} // namespace
} // namespace quillet::testing
