#include "editor/files/file_extension.h"
#include "editor/files/file_name_dialog.h"
#include "files_fixture.h"

namespace quillet::testing {
namespace {

TEST(FindExtensionDot, FindsTheDotOfTheLastComponentOnly) {
    struct Case {
        std::u16string path;
        int32_t dot;
    };
    const Case cases[] = {
        {u"C:\\Документы\\письмо", 0},
        {u"C:\\my.folder\\notes", 0}, // a dot in a folder does not count
        {u"C:\\dir\\notes.md", 13},
        {u"C:\\dir\\archive.tar.gz", 19}, // the last dot
        {u"C:\\dir\\.profile", 8},        // right after the separator
        {u"C:\\dir\\name.", 12},
        {u"a.b", 0}, // three characters or fewer are never examined
        {u"ab.", 0},
        {u"abc.", 4},
        {u"C:.x", 0}, // the dot is character 3, never examined
        {u"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindExtensionDot(c.path, u"\\"), c.dot) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(FindExtensionDot(u"/home/u/my.dir/notes", u"/"), 0);
    EXPECT_EQ(FindExtensionDot(u"/home/u/notes.md", u"/"), 14);
}

TEST(FindExtensionDot, CompletionAddsTxtOnlyWhereThereIsNoExtension) {
    EXPECT_EQ(WithTxtExtension(u"C:\\Документы\\письмо", u"\\"), u"C:\\Документы\\письмо.txt");
    EXPECT_EQ(WithTxtExtension(u"C:\\my.folder\\notes", u"\\"), u"C:\\my.folder\\notes.txt");
    EXPECT_EQ(WithTxtExtension(u"C:\\dir\\name.", u"\\"), u"C:\\dir\\name.");
    EXPECT_EQ(WithTxtExtension(u"C:\\dir\\notes.md", u"\\"), u"C:\\dir\\notes.md");
    EXPECT_EQ(WithTxtExtension(u"a.b", u"\\"), u"a.b.txt");
}

using FileDialogTest = FilesTest;

TEST_F(FileDialogTest, AnAcceptedDialogMovesTheDialogFolderAndACancelledOneKeepsIt) {
    ed.doc.dialogFolder = u"C:\\start\\";
    dialogs.Cancel();
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Open, u""), std::nullopt);
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\start\\");

    dialogs.Choose(u"D:\\Письма\\мама");
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Open, u""), u"D:\\Письма\\мама");
    EXPECT_EQ(ed.doc.dialogFolder, u"D:\\Письма\\");

    dialogs.Choose(u"bare");
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Save, u"doc"), u"bare");
    EXPECT_EQ(ed.doc.dialogFolder, u"");

    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].folder, u"C:\\start\\");
    EXPECT_EQ(dialogs.shown[1].folder, u"C:\\start\\"); // the cancel did not move it
    EXPECT_EQ(dialogs.shown[2].folder, u"D:\\Письма\\");
    EXPECT_EQ(dialogs.shown[1].kind, FileDialogKind::Open);
    EXPECT_EQ(dialogs.shown[2].kind, FileDialogKind::Save);
    EXPECT_EQ(dialogs.shown[2].name, u"doc");
}

TEST_F(FileDialogTest, APathTooLongForTheBufferIsHandledAsACancel) {
    ed.doc.dialogFolder = u"C:\\start\\";
    dialogs.Choose(u"C:\\" + std::u16string(252, u'x')); // 255 characters
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Save, u""), std::nullopt);
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\start\\");
}

} // namespace
} // namespace quillet::testing
