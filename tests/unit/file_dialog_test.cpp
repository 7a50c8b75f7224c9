#include "editor/files/api_open_save.h"
#include "editor/files/poisk_tochki.h"
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

TEST_F(FileDialogTest, TheRecordCarriesTheFilterTheBufferAndTheDialogFolder) {
    ed.doc.DialogFolder = u"C:\\Документы\\";
    FileDialogRecord record = MakeFileDialogRecord(ed, true, u"C:\\Документы\\письмо.txt");

    const char16_t filter[] = u"Текстовый файл (*.txt)\0*.txt\0Все файлы (*.*)\0*.*\0";
    EXPECT_EQ(record.filter, std::u16string(filter, std::size(filter))); // closed by two NULs
    EXPECT_TRUE(record.save);
    EXPECT_EQ(record.filterIndex, 1);
    EXPECT_EQ(record.maxFile, 255);
    EXPECT_EQ(record.maxFileTitle, 255);
    ASSERT_EQ(record.file.size(), 255u);
    std::u16string name = u"C:\\Документы\\письмо.txt";
    EXPECT_EQ(record.file.substr(0, name.size()), name);
    EXPECT_EQ(record.file.find_first_not_of(u'\0', name.size()), std::u16string::npos);
    EXPECT_EQ(record.initialDir, u"C:\\Документы\\");

    EXPECT_FALSE(MakeFileDialogRecord(ed, false, u"").save);
}

TEST_F(FileDialogTest, AnInitialNameThatDoesNotFitTheBufferOpensTheDialogWithNoName) {
    std::u16string fits = u"C:\\" + std::u16string(247, u'д') + u".txt"; // 254 characters
    ASSERT_EQ(fits.size(), 254u);
    EXPECT_EQ(MakeFileDialogRecord(ed, true, fits).file.substr(0, 254), fits);

    std::u16string tooLong = fits + u"x"; // no room left for the NUL
    FileDialogRecord record = MakeFileDialogRecord(ed, true, tooLong);
    EXPECT_EQ(record.file, std::u16string(255, u'\0'));
}

TEST_F(FileDialogTest, AnAcceptedDialogMovesTheDialogFolderAndACancelledOneKeepsIt) {
    ed.doc.DialogFolder = u"C:\\start\\";
    dialogs.Cancel();
    EXPECT_EQ(ShowFileDialog(ed, 0, u""), u"");
    EXPECT_EQ(ed.doc.DialogFolder, u"C:\\start\\");

    dialogs.Choose(u"D:\\Письма\\мама");
    EXPECT_EQ(ShowFileDialog(ed, 0, u""), u"D:\\Письма\\мама");
    EXPECT_EQ(ed.doc.DialogFolder, u"D:\\Письма\\");

    dialogs.Choose(u"bare");
    EXPECT_EQ(ShowFileDialog(ed, -1, u""), u"bare");
    EXPECT_EQ(ed.doc.DialogFolder, u"");

    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[0].initialDir, u"C:\\start\\");
    EXPECT_EQ(dialogs.shown[1].initialDir, u"C:\\start\\"); // the cancel did not move it
    EXPECT_EQ(dialogs.shown[2].initialDir, u"D:\\Письма\\");
    EXPECT_TRUE(dialogs.shown[2].save);
}

TEST_F(FileDialogTest, APathTooLongForTheBufferIsHandledAsACancel) {
    ed.doc.DialogFolder = u"C:\\start\\";
    dialogs.Choose(u"C:\\" + std::u16string(252, u'x')); // 255 characters
    EXPECT_EQ(ShowFileDialog(ed, -1, u""), u"");
    EXPECT_EQ(ed.doc.DialogFolder, u"C:\\start\\");
}

} // namespace
} // namespace quillet::testing
