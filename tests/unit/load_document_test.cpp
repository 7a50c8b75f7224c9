#include "editor/files/load_document.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

namespace quillet {
namespace {

using fakes::EditorWithFakes;

// A document being edited: named, modified, with its own caption.
void OpenModifiedDocument(EditorWithFakes& f) {
    f.ed.doc.pathSeparator = u"\\";
    f.files.files[u"C:\\old.txt"] = "old";
    LoadDocument(f.ed, u"C:\\old.txt");
    f.control.SetSelText(u"typed ");
    f.messages.shown.clear();
}

void ExpectOldDocumentKept(const EditorWithFakes& f) {
    EXPECT_EQ(f.control.Text(), u"typed old");
    EXPECT_EQ(f.ed.doc.path, u"C:\\old.txt");
    EXPECT_EQ(f.ed.doc.displayName, u" old.txt");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\");
    EXPECT_TRUE(f.ed.doc.modified);
    EXPECT_TRUE(f.ed.doc.undoAllowed);
    EXPECT_EQ(f.window.caption, u" old.txt - Квиллет");
}

void ExpectError(const EditorWithFakes& f, std::u16string_view text) {
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text, text);
    EXPECT_EQ(f.messages.shown[0].title, u"Квиллет");
    EXPECT_EQ(f.messages.shown[0].style.icon, MessageIcon::Error);
    EXPECT_EQ(f.messages.shown[0].style.buttons, MessageButtons::Ok);
}

TEST(LoadDocument, ACyrillicAnsiFileBecomesTheCurrentUnmodifiedDocument) {
    EditorWithFakes f;
    f.ed.doc.pathSeparator = u"\\";
    f.ed.doc.font = {u"Consolas", 14, true, false};
    f.files.files[u"C:\\Документы\\письмо.txt"] = "\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xec\xe8\xf0\n\t!";

    EXPECT_TRUE(LoadDocument(f.ed, u"C:\\Документы\\письмо.txt"));

    EXPECT_EQ(f.control.Text(), u"Привет\r\nмир\r\n\t!"); // the control makes every line break CR LF
    EXPECT_EQ(f.control.SelStart(), 0);
    EXPECT_FALSE(f.ed.doc.modified);
    EXPECT_FALSE(f.ed.doc.undoAllowed);
    EXPECT_EQ(f.ed.doc.path, u"C:\\Документы\\письмо.txt");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\Документы\\");
    EXPECT_EQ(f.ed.doc.displayName, u" письмо.txt");
    EXPECT_EQ(f.window.caption, u" письмо.txt - Квиллет");
    const FontSpec font = f.control.Font(); // the document font is put on the new text
    EXPECT_EQ(std::tuple(font.name, font.size, font.bold, font.italic),
              std::tuple(u"Consolas", 14, true, false));
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(LoadDocument, EmptyFilesBareNamesAndForeignEncodingsLoadAsTheyAre) {
    EditorWithFakes f;
    f.ed.doc.pathSeparator = u"\\";
    f.files.files[u"empty.txt"] = "";
    f.control.Load(u"previous");
    LoadDocument(f.ed, u"empty.txt");
    EXPECT_EQ(f.control.Text(), u"");
    // Kept by its full path: a dialog that moves the current folder cannot make a save go elsewhere.
    EXPECT_EQ(f.ed.doc.path, u"C:\\Users\\user\\empty.txt");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\Users\\user\\");
    EXPECT_EQ(f.ed.doc.displayName, u" empty.txt");
    EXPECT_EQ(f.window.caption, u" empty.txt - Квиллет");
    EXPECT_FALSE(f.ed.doc.modified);

    f.files.files[u"C:\\utf8.txt"] = "\xEF\xBB\xBF\xD0\x9F"; // BOM and П in UTF-8
    LoadDocument(f.ed, u"C:\\utf8.txt");
    EXPECT_EQ(f.control.Text(), u"\u043F\u00BB\u0457\u0420\u045F");

    EditorWithFakes unix;
    unix.ed.doc.pathSeparator = u"/";
    unix.files.files[u"/home/a b/notes.md"] = "x";
    LoadDocument(unix.ed, u"/home/a b/notes.md");
    EXPECT_EQ(unix.ed.doc.dialogFolder, u"/home/a b/");
    EXPECT_EQ(unix.ed.doc.displayName, u" notes.md");
}

// Whatever keeps a file from loading is said, and the modified document stays as it was.
TEST(LoadDocument, AFileThatCannotBeLoadedIsReportedAndTheModifiedDocumentStays) {
    const struct {
        std::set<std::u16string> fakes::FakeFileSystem::*mark;
        std::u16string path, message;
    } cases[] = {
        {nullptr, u"C:\\нет\\такого.txt", u"Файл \"C:\\нет\\такого.txt\" не найден."},
        {nullptr, u" C:\\locked.txt", u"Файл \" C:\\locked.txt\" не найден."}, // the path exactly as given
        {&fakes::FakeFileSystem::refused, u"C:\\locked.txt", u"Файл \"C:\\locked.txt\" открыть не возможно."},
        {&fakes::FakeFileSystem::unreadable, u"C:\\locked.txt",
         u"Файл \"C:\\locked.txt\" открыть не возможно."},
        {&fakes::FakeFileSystem::tooLarge, u"C:\\locked.txt",
         u"Файл \"C:\\locked.txt\" слишком велик: открыть его не возможно."},
    };
    for (const auto& c : cases) {
        EditorWithFakes f;
        OpenModifiedDocument(f);
        f.files.files[u"C:\\locked.txt"] = "partial";
        if (c.mark)
            (f.files.*c.mark).insert(c.path);
        EXPECT_FALSE(LoadDocument(f.ed, c.path));
        ExpectError(f, c.message);
        ExpectOldDocumentKept(f);
    }
}

} // namespace
} // namespace quillet
