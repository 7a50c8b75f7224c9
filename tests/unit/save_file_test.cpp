#include "editor/files/document_file.h"
#include "editor/files/load_document.h"
#include "editor/files/save_file.h"
#include "files_fixture.h"

#include <algorithm>

namespace quillet::testing {
namespace {

using SaveFileTest = FilesTest;

const MessageStyle kQuestion{MessageIcon::Warning, MessageButtons::YesNo, MessageAnswer::No};

void ExpectStyle(const MessageStyle& actual, const MessageStyle& expected) {
    EXPECT_EQ(actual.icon, expected.icon);
    EXPECT_EQ(actual.buttons, expected.buttons);
    EXPECT_EQ(actual.defaultAnswer, expected.defaultAnswer);
}

TEST_F(SaveFileTest, SaveOnAnUntitledDocumentAsksForANameAndCompletesItWithTxt) {
    ed.doc.dialogFolder = u"C:\\Документы\\";
    Type(u"Привет\r\nмир");
    dialogs.Choose(u"C:\\Документы\\письмо");

    OnSave(ed);

    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, FileDialogKind::Save);
    EXPECT_EQ(dialogs.shown[0].name, u""); // untitled: no name
    EXPECT_EQ(dialogs.shown[0].folder, u"C:\\Документы\\");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(files.files[u"C:\\Документы\\письмо.txt"], "\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xec\xe8\xf0");
    EXPECT_EQ(ed.doc.path, u"C:\\Документы\\письмо.txt");
    EXPECT_EQ(ed.doc.displayName, u" письмо.txt");
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\Документы\\");
    EXPECT_EQ(window.caption, u" письмо.txt - Квиллет");
    EXPECT_FALSE(ed.doc.modified);
    EXPECT_TRUE(ed.doc.undoAllowed); // saving keeps Undo
    EXPECT_EQ(control.Text(), u"Привет\r\nмир");
}

TEST_F(SaveFileTest, SaveOnATitledDocumentWritesWithoutAskingEvenWhenUnmodifiedOrDeleted) {
    Titled(u"C:\\dir\\a.txt", u"text");
    files.files.erase(u"C:\\dir\\a.txt");
    OnSave(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "text");

    files.files[u"C:\\dir\\a.txt"] = "changed by another program";
    OnSave(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "text");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SaveFileTest, SaveAsOpensWithTheFullPathAndAsksNothingForTheSamePath) {
    Titled(u"C:\\dir\\a.txt", u"text");
    dialogs.Choose(u"C:\\dir\\a.txt");
    OnSaveAs(ed);
    EXPECT_EQ(dialogs.shown[0].name, u"C:\\dir\\a.txt");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "text");
}

TEST_F(SaveFileTest, OverwriteAnsweredNoChangesNothingButTheDialogFolder) {
    Titled(u"C:\\dir\\a.txt", u"new");
    ed.doc.modified = true;
    files.files[u"D:\\other\\A.TXT"] = "keep";
    dialogs.Choose(u"D:\\other\\A.TXT");
    messages.answers = {MessageAnswer::No};

    OnSaveAs(ed);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Файл \"D:\\other\\A.TXT\" уже существует.\r\nЗаменить его?");
    EXPECT_EQ(messages.shown[0].title, u"Квиллет");
    ExpectStyle(messages.shown[0].style, kQuestion);
    EXPECT_EQ(files.files[u"D:\\other\\A.TXT"], "keep");
    EXPECT_EQ(files.writes, 0);
    EXPECT_EQ(ed.doc.path, u"C:\\dir\\a.txt");
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(window.caption, u" a.txt - Квиллет");
    EXPECT_EQ(ed.doc.dialogFolder, u"D:\\other\\"); // the accepted dialog moved it
}

TEST_F(SaveFileTest, OverwriteAnsweredYesReplacesTheFileAndTheCaseOfAPathCounts) {
    Titled(u"C:\\dir\\a.txt", u"new");
    dialogs.Choose(u"C:\\dir\\A.txt"); // the same file to Windows, another path to us
    files.files[u"C:\\dir\\A.txt"] = "old";
    messages.answers = {MessageAnswer::Yes};

    OnSaveAs(ed);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(files.files[u"C:\\dir\\A.txt"], "new");
    EXPECT_EQ(ed.doc.path, u"C:\\dir\\A.txt");
    EXPECT_EQ(window.caption, u" A.txt - Квиллет");
}

TEST_F(SaveFileTest, AReadOnlyTargetIsReportedAndTheDocumentStaysAsItWas) {
    Titled(u"C:\\dir\\a.txt", u"new");
    ed.doc.modified = true;
    files.readOnly.insert(u"C:\\dir\\a.txt");

    OnSave(ed);

    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Файл \"C:\\dir\\a.txt\" защищён от записи.");
    EXPECT_EQ(messages.shown[0].title, u"Квиллет");
    ExpectStyle(messages.shown[0].style, {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
    EXPECT_EQ(files.files[u"C:\\dir\\a.txt"], "old");
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(ed.doc.path, u"C:\\dir\\a.txt");
}

TEST_F(SaveFileTest, AnyOtherWriteFailureLeavesTheOldFileAndTheStateAlone) {
    Type(u"new");
    ed.doc.dialogFolder = u"C:\\start\\";
    files.failWrites = true; // the disk is full, say
    files.files[u"E:\\full\\b.txt"] = "old";
    dialogs.Choose(u"E:\\full\\b.txt");
    messages.answers = {MessageAnswer::Yes};

    OnSave(ed);

    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, u"Файл \"E:\\full\\b.txt\" сохранить не возможно.");
    ExpectStyle(messages.shown[1].style, {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
    EXPECT_EQ(files.files[u"E:\\full\\b.txt"], "old");
    EXPECT_EQ(ed.doc.path, u"");
    EXPECT_EQ(ed.doc.displayName, u"");
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(window.caption, u"Квиллет");
}

TEST_F(SaveFileTest, CharactersTheCodePageCannotHoldAreNeverDroppedWithoutAsking) {
    Type(u"日本 и €");
    dialogs.Choose(u"C:\\dir\\x.txt");
    dialogs.Choose(u"C:\\dir\\x.txt");
    messages.answers = {MessageAnswer::No, MessageAnswer::Yes};

    OnSaveAs(ed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(u"C:\\dir\\x.txt"), std::u16string::npos);
    EXPECT_NE(messages.shown[0].text.find(u"будут заменены"), std::u16string::npos);
    EXPECT_EQ(messages.shown[0].title, u"Квиллет");
    ExpectStyle(messages.shown[0].style, kQuestion);
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(ed.doc.path, u"");

    OnSaveAs(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\x.txt"], "?? \xe8 \x88");
    EXPECT_FALSE(ed.doc.modified);

    // Text the code page holds whole is saved without the question.
    control.SetText(u"\u2116 \u0401\u0451 \u20ac");
    OnSave(ed);
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(files.files[u"C:\\dir\\x.txt"], "\xb9 \xa8\xb8 \x88");
}

TEST_F(SaveFileTest, ACancelledSaveAsDialogDoesNothingAndANameTooLongIsToldNotTakenForASave) {
    Type(u"text");
    dialogs.Cancel();
    OnSaveAs(ed);
    EXPECT_EQ(files.writes, 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(ed.doc.dialogFolder, ed.doc.programFolder);

    dialogs.Choose(u"C:\\" + std::u16string(300, u'я') + u".txt");
    OnSaveAs(ed);
    EXPECT_EQ(files.writes, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, u"Слишком длинное имя файла: документ не сохранён.");
    EXPECT_TRUE(ed.doc.modified);
    EXPECT_EQ(ed.doc.path, u"");
}

} // namespace
} // namespace quillet::testing

namespace quillet::testing {
namespace {

using RoundTripTest = FilesTest;

TEST_F(RoundTripTest, EveryByteValueComesBackUnchangedAndLoneBreaksBecomeCrLf) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(char(b));
    std::string withCrLf; // the same bytes with its lone LF and lone CR written as CR LF
    for (char c : everyByte)
        withCrLf += (c == '\n' || c == '\r') ? std::string("\r\n") : std::string(1, c);
    ASSERT_EQ(withCrLf.size(), 258u);

    files.files[u"C:\\dir\\all.txt"] = withCrLf;
    LoadDocument(ed, u"C:\\dir\\all.txt");
    ASSERT_FALSE(ed.doc.modified);
    OnSave(ed);
    EXPECT_TRUE(messages.shown.empty()); // the code page holds every character read from it
    EXPECT_EQ(files.files[u"C:\\dir\\all.txt"], withCrLf);

    files.files[u"C:\\dir\\lone.txt"] = everyByte;
    LoadDocument(ed, u"C:\\dir\\lone.txt");
    OnSave(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\lone.txt"], withCrLf);
}

} // namespace
} // namespace quillet::testing

namespace quillet::testing {
namespace {

// Counts what it is given, so a test can see that no piece is the whole document and no piece
// ends or starts inside a surrogate pair.
class MeasuringCodec : public fakes::Cp1251Codec {
public:
    bool Encode(std::u16string_view text, std::string& out) const override {
        largest = std::max(largest, text.size());
        if (!text.empty() && ((text.front() >= 0xDC00 && text.front() <= 0xDFFF) ||
                              (text.back() >= 0xD800 && text.back() <= 0xDBFF)))
            splitPair = true;
        return fakes::Cp1251Codec::Encode(text, out);
    }
    mutable size_t largest = 0;
    mutable bool splitPair = false;
};

TEST(SaveInPiecesTest, TheCodePageCheckAndTheWriteGoPieceByPieceAndKeepEveryPairWhole) {
    fakes::FakeFileSystem files;
    MeasuringCodec codec;
    TextModel model;
    std::u16string line = u"Строка текста номер такая-то, и ещё немного слов.\r\n";
    std::u16string text;
    while (text.size() < 5'000'000)
        text += line;
    text.replace((size_t(1) << 20) - 1, 2, u"😀"); // straddles the first slice's end
    text[10] = u'\0';                             // carried like any other character
    model.SetText(text);
    // Leave the gap inside another pair, so it straddles the model's two pieces too.
    const int32_t pair = 3'000'000;
    model.ReplaceRange(pair, pair + 2, u"😀", EditKind::Program);
    model.ReplaceRange(pair + 1, pair + 1, u"x", EditKind::Program);
    model.ReplaceRange(pair + 1, pair + 2, u"", EditKind::Program);
    ASSERT_EQ(model.CharAt(pair + 1), u"😀"[1]);

    EXPECT_FALSE(FitsCodePage(model, codec)); // the emoji has no form in the code page
    EXPECT_FALSE(codec.splitPair);
    EXPECT_LE(codec.largest, size_t(2) << 20);
    codec.largest = 0;
    ASSERT_EQ(WriteText(model, codec, files, u"C:\\big.txt"), WriteStatus::Ok);
    EXPECT_FALSE(codec.splitPair);
    EXPECT_LE(codec.largest, size_t(2) << 20);
    std::string expected;
    fakes::Cp1251Codec().Encode(model.Text(), expected);
    EXPECT_EQ(files.files[u"C:\\big.txt"], expected);
}

} // namespace
} // namespace quillet::testing
