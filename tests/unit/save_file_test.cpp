#include "editor/files/document_file.h"
#include "editor/files/file_extension.h"
#include "editor/files/file_name_dialog.h"
#include "editor/files/load_document.h"
#include "editor/files/save_file.h"
#include "files_fixture.h"

#include <algorithm>

namespace quillet::testing {
namespace {

using SaveFileTest = FilesTest;
using Strings = std::vector<std::u16string>;

// Each message as the user sees it: its text, then whether it came as a question (warning,
// Yes and No, No preselected) or an error (Ok), titled with the program's name.
Strings Shown(const fakes::FakeMessageBoxes& messages) {
    Strings seen;
    for (const auto& m : messages.shown) {
        const MessageStyle& s = m.style;
        const bool question = s.icon == MessageIcon::Warning && s.buttons == MessageButtons::YesNo &&
                              s.defaultAnswer == MessageAnswer::No;
        const bool error = s.icon == MessageIcon::Error && s.buttons == MessageButtons::Ok &&
                           s.defaultAnswer == MessageAnswer::Ok;
        seen.push_back(m.text + (m.title != u"Квиллет" ? u" [title]"
                                 : question            ? u" [?]"
                                 : error               ? u" [!]"
                                                       : u" [style]"));
    }
    return seen;
}

TEST(FindExtensionDot, FindsTheDotOfTheLastComponentOnly) {
    struct Case {
        std::u16string path, separator;
        int32_t dot;
    };
    const Case cases[] = {
        {u"C:\\Документы\\письмо", u"\\", 0},
        {u"C:\\my.folder\\notes", u"\\", 0}, // a dot in a folder does not count
        {u"C:\\dir\\notes.md", u"\\", 13},
        {u"C:\\dir\\archive.tar.gz", u"\\", 19}, // the last dot
        {u"C:\\dir\\.profile", u"\\", 8},        // right after the separator
        {u"C:\\dir\\name.", u"\\", 12},
        {u"a.b", u"\\", 0}, // three characters or fewer are never examined
        {u"ab.", u"\\", 0},
        {u"abc.", u"\\", 4},
        {u"C:.x", u"\\", 0}, // the dot is character 3, never examined
        {u"", u"\\", 0},
        {u"/home/u/my.dir/notes", u"/", 0},
        {u"/home/u/notes.md", u"/", 14},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindExtensionDot(c.path, c.separator), c.dot) << std::string(c.path.begin(), c.path.end());
}

TEST_F(SaveFileTest, AnAcceptedDialogMovesTheDialogFolderAndACancelledOrTooLongOneKeepsIt) {
    ed.doc.dialogFolder = u"C:\\start\\";
    dialogs.Cancel();
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Open, u""), std::nullopt);
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\start\\");
    // A path that does not fit the dialog is not taken, and the user is told.
    for (FileDialogKind kind : {FileDialogKind::Open, FileDialogKind::Save}) {
        dialogs.Choose(u"C:\\" + std::u16string(252, u'x')); // 255 characters
        EXPECT_EQ(PickFileName(ed, kind, u""), std::nullopt);
        EXPECT_EQ(ed.doc.dialogFolder, u"C:\\start\\");
    }
    EXPECT_EQ(Shown(messages), (Strings{u"Слишком длинное имя файла: документ не открыт. [!]",
                                        u"Слишком длинное имя файла: документ не сохранён. [!]"}));

    dialogs.Choose(u"D:\\Письма\\мама");
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Open, u""), u"D:\\Письма\\мама");
    EXPECT_EQ(ed.doc.dialogFolder, u"D:\\Письма\\");
    dialogs.Choose(u"bare");
    EXPECT_EQ(PickFileName(ed, FileDialogKind::Save, u"doc"), u"bare");
    EXPECT_EQ(ed.doc.dialogFolder, u"");
    EXPECT_EQ(dialogs.shown.at(3).kind, FileDialogKind::Open);
}

// Each save on a fresh editor, of "C:\dir\a.txt" titled or of an untitled document, modified.
// Saved, the target holds the bytes and names the document; otherwise every file and the
// document stay as they were. Undo stays as it was either way.
TEST(SaveFile, AsksBeforeReplacingOrDroppingCharactersAndReportsFailures) {
    enum : int { kTitled = 1, kSaveAs = 2, kReadOnly = 4, kDiskFull = 8, kDeleted = 16, kAddsTxt = 32 };
    struct Case {
        const char* name;
        int how;
        std::u16string text;
        const char16_t* chosen; // in the dialog; nullptr: cancelled or not asked
        const char* existing;   // the target's content before
        std::vector<MessageAnswer> answers;
        Strings messages;
        const char* saved; // what the target then holds; nullptr: nothing saved
    };
    const std::u16string replace = u" уже существует.\r\nЗаменить его? [?]";
    const std::u16string lacks =
        u": в тексте есть символы, которых нет в кодировке ANSI этой системы.\r\n"
        u"При сохранении они будут заменены другими знаками.\r\nСохранить всё равно? [?]";
    auto about = [](std::u16string_view path, std::u16string_view rest) {
        return u"Файл \"" + std::u16string(path) + u"\"" + std::u16string(rest);
    };
    const auto No = MessageAnswer::No, Yes = MessageAnswer::Yes;
    // clang-format off
    const Case cases[] = {
        {"untitled: a name without extension gets .txt", kAddsTxt, u"Привет\r\nмир", u"C:\\Документы\\письмо", nullptr,
         {}, {}, "\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xec\xe8\xf0"},
        {"titled: written without asking, though changed meanwhile", kTitled, u"new", nullptr, "changed", {}, {}, "new"},
        {"titled: written though deleted meanwhile", kTitled | kDeleted, u"new", nullptr, nullptr, {}, {}, "new"},
        {"save as its own file: nothing to ask", kTitled | kSaveAs, u"new", u"C:\\dir\\a.txt", nullptr, {}, {}, "new"},
        {"replace answered No", kTitled | kSaveAs, u"new", u"D:\\other\\A.TXT", "keep", {No},
         {about(u"D:\\other\\A.TXT", replace)}, nullptr},
        {"replace answered Yes, the case of a path counting", kTitled | kSaveAs, u"new", u"C:\\dir\\A.txt", "old", {Yes},
         {about(u"C:\\dir\\A.txt", replace)}, "new"},
        {"write-protected", kTitled | kReadOnly, u"new", nullptr, nullptr, {},
         {about(u"C:\\dir\\a.txt", u" защищён от записи. [!]")}, nullptr},
        {"the write fails", kDiskFull, u"new", u"E:\\full\\b.txt", "old", {Yes},
         {about(u"E:\\full\\b.txt", replace), about(u"E:\\full\\b.txt", u" сохранить не возможно. [!]")}, nullptr},
        // Latin letters beyond ASCII are not all in the code page either.
        {"characters the code page lacks, No", kSaveAs, u"café", u"C:\\dir\\x.txt", nullptr, {No},
         {about(u"C:\\dir\\x.txt", lacks)}, nullptr},
        {"characters the code page lacks, Yes", kSaveAs, u"日本 и €", u"C:\\dir\\x.txt", nullptr, {Yes},
         {about(u"C:\\dir\\x.txt", lacks)}, "?? \xe8 \x88"},
        {"characters the code page holds", kSaveAs, u"\u2116 \u0401\u0451 \u20ac", u"C:\\dir\\x.txt", nullptr, {},
         {}, "\xb9 \xa8\xb8 \x88"},
        {"dialog cancelled", kSaveAs, u"new", nullptr, nullptr, {}, {}, nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        FilesWorld w;
        if (c.how & kTitled)
            w.Titled(u"C:\\dir\\a.txt", c.text);
        else
            w.Type(c.text);
        w.ed.doc.modified = true;
        std::u16string target = c.chosen ? c.chosen : w.ed.doc.path;
        if (c.existing)
            w.files.files[target] = c.existing;
        if (c.how & kDeleted)
            w.files.files.erase(target);
        if (c.how & kReadOnly)
            w.files.readOnly.insert(target);
        if (c.how & kAddsTxt)
            target += u".txt";
        w.files.failWrites = c.how & kDiskFull;
        c.chosen ? w.dialogs.Choose(c.chosen) : w.dialogs.Cancel();
        w.messages.answers.assign(c.answers.begin(), c.answers.end());
        auto files = w.files.files;
        const DocumentState before = w.ed.doc;
        const std::u16string captionBefore = w.window.caption;

        c.how& kSaveAs ? OnSaveAs(w.ed) : OnSave(w.ed);

        EXPECT_EQ(Shown(w.messages), c.messages) << c.name;
        if (c.saved)
            files[target] = c.saved;
        EXPECT_EQ(w.files.files, files) << c.name;
        EXPECT_EQ(w.ed.doc.modified, !c.saved) << c.name;
        EXPECT_EQ(w.ed.doc.undoAllowed, before.undoAllowed) << c.name;
        EXPECT_EQ(w.ed.doc.path, c.saved ? target : before.path) << c.name;
        const std::u16string name = target.substr(target.rfind(u'\\') + 1);
        EXPECT_EQ(w.window.caption, c.saved ? u" " + name + u" - Квиллет" : captionBefore) << c.name;
        // Asked only without a path, or for Save As: in the last folder, offering the path.
        ASSERT_EQ(w.dialogs.shown.size(), c.how & kSaveAs || !(c.how & kTitled) ? 1u : 0u) << c.name;
        for (const auto& request : w.dialogs.shown) {
            EXPECT_EQ(request.kind, FileDialogKind::Save) << c.name;
            EXPECT_EQ(request.name, before.path) << c.name;
            EXPECT_EQ(request.folder, before.dialogFolder) << c.name;
        }
    }
}

TEST_F(SaveFileTest, EveryByteValueComesBackUnchangedAndLoneBreaksBecomeCrLf) {
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(char(b));
    std::string withCrLf; // the same bytes with its lone LF and lone CR written as CR LF
    for (char c : everyByte)
        withCrLf += (c == '\n' || c == '\r') ? std::string("\r\n") : std::string(1, c);

    files.files[u"C:\\dir\\all.txt"] = withCrLf;
    LoadDocument(ed, u"C:\\dir\\all.txt");
    OnSave(ed);
    EXPECT_TRUE(messages.shown.empty()); // the code page holds every character read from it
    EXPECT_EQ(files.files[u"C:\\dir\\all.txt"], withCrLf);

    files.files[u"C:\\dir\\lone.txt"] = everyByte;
    LoadDocument(ed, u"C:\\dir\\lone.txt");
    OnSave(ed);
    EXPECT_EQ(files.files[u"C:\\dir\\lone.txt"], withCrLf);
}

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

TEST(SaveInPieces, TheCodePageCheckAndTheWriteGoPieceByPieceAndKeepEveryPairWhole) {
    fakes::FakeFileSystem files;
    MeasuringCodec codec;
    TextModel model;
    std::u16string text;
    while (text.size() < 5'000'000)
        text += u"Строка текста номер такая-то, и ещё немного слов.\r\n";
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
