// Whole flows in the real Quillet.exe, driven as a person does: keys, the real message boxes and
// file dialogs, and the bytes that land on disk.

#include "editor/win32/resource.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

using namespace quillet::e2e;

namespace {

bool FieldHolds(HWND dialog, int id, const std::wstring& text, Millis timeout = 10s) {
    return WaitFor([&] { return TextOf(GetDlgItem(dialog, id)) == text; }, timeout);
}

TEST(EditorEndToEnd, ACyrillicFileIsTypedInMovedThroughAndSavedAsWindows1251WithCrLf) {
    TempFolder folder;
    const std::wstring path = folder.File(L"письмо.txt");
    const std::string original = Cp1251(L"Привет, мир!\r\nВторая строка\r\n");
    ASSERT_TRUE(WriteBytes(path, original));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    App app;
    ASSERT_TRUE(app.Open(path));
    ASSERT_TRUE(app.WaitText(L"Привет, мир!\r\nВторая строка\r\n"));

    app.Press('Z', {VK_CONTROL}); // nothing of the user's to undo: the loaded text stays
    PressKey(VK_END, {VK_CONTROL});
    TypeText(L"Ёжик and hedgehog\rёлка");
    EXPECT_TRUE(app.WaitText(L"Привет, мир!\r\nВторая строка\r\nЁжик and hedgehog\r\nёлка"));

    // Shift+End selects the line; Ctrl+Right steps over a word, then over the punctuation and the
    // space after it; Down keeps the column; typing replaces the selection.
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_END, {VK_SHIFT});
    EXPECT_TRUE(app.WaitSelection(0, 12));
    PressKey(VK_HOME);
    PressKey(VK_RIGHT, {VK_CONTROL});
    EXPECT_TRUE(app.WaitSelection(6, 6));
    PressKey(VK_RIGHT, {VK_CONTROL});
    EXPECT_TRUE(app.WaitSelection(8, 8));
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT, {VK_SHIFT});
    PressKey(VK_RIGHT, {VK_SHIFT});
    EXPECT_TRUE(app.WaitSelection(22, 24));
    TypeText(L"Ж");
    const std::wstring edited = L"Привет, мир!\r\nВторая сЖока\r\nЁжик and hedgehog\r\nёлка";
    EXPECT_TRUE(app.WaitText(edited));

    // The file is read-only: saving says so and writes nothing. Writable again, it is saved.
    app.Press('S', {VK_CONTROL});
    EXPECT_EQ(app.Answer(IDOK), L"Файл \"" + path + L"\" защищён от записи.");
    EXPECT_EQ(FileBytes(path), original);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(app.Save(path), Cp1251(edited));
    EXPECT_EQ(app.Caption(), L" письмо.txt - Квиллет");
    app.Close();
    EXPECT_EQ(app.WaitExit(), 0) << "saved, it closes without a question";
}

// New, Open and closing on a modified document, each with the answers to the save question.
enum class Door { New, Open, Close };

struct Step {
    const wchar_t* typed; // before the command
    Door door;
    const wchar_t* question;
    int answer;
    const wchar_t* fileDialog; // the file name for the dialog that follows, "" to cancel it
    const wchar_t* textAfter;  // null when the program ends
    const wchar_t* captionAfter;
};

TEST(EditorEndToEnd, SavingOverAFileAsksFirstAndAModifiedDocumentIsLostOnlyWhenTheUserSaysSo) {
    TempFolder folder;
    const std::wstring taken = folder.File(L"занято.txt"), other = folder.File(L"другой.txt");
    ASSERT_TRUE(WriteBytes(taken, "old"));
    ASSERT_TRUE(WriteBytes(other, Cp1251(L"другой текст")));
    App app;
    ASSERT_TRUE(app.Start());
    TypeText(L"новое\rслово");
    ASSERT_TRUE(app.WaitText(L"новое\r\nслово"));

    // Untitled, Ctrl+S asks for a name and adds .txt; that file exists: No keeps it, Yes replaces it.
    const std::wstring replace = L"Файл \"" + taken + L"\" уже существует.\r\nЗаменить его?";
    app.Press('S', {VK_CONTROL});
    ASSERT_TRUE(app.AnswerFileDialog(folder.File(L"занято")));
    EXPECT_EQ(app.Answer(IDNO), replace);
    EXPECT_EQ(FileBytes(taken), "old");
    EXPECT_EQ(app.Caption(), L"Квиллет");
    app.Press('S', {VK_CONTROL});
    ASSERT_TRUE(app.AnswerFileDialog(folder.File(L"занято")));
    EXPECT_EQ(app.Answer(IDYES), replace);
    EXPECT_TRUE(app.WaitCaption(L" занято.txt - Квиллет"));
    EXPECT_EQ(FileBytes(taken), Cp1251(L"новое\r\nслово"));

    const wchar_t* kTaken = L"Сохранить изменение в файле занято.txt?";
    const wchar_t* kUntitled = L"Сохранить изменение в файле?";
    const wchar_t* kTakenCaption = L" занято.txt - Квиллет";
    const Step steps[] = {
        {L"!", Door::New, kTaken, IDCANCEL, nullptr, L"новое\r\nслово!", kTakenCaption},
        {L"", Door::Open, kTaken, IDCANCEL, nullptr, L"новое\r\nслово!", kTakenCaption},
        {L"", Door::Close, kTaken, IDCANCEL, nullptr, L"новое\r\nслово!", kTakenCaption},
        {L"", Door::Open, kTaken, IDYES, L"", L"новое\r\nслово!", kTakenCaption}, // saved; Open cancelled
        {L"?", Door::New, kTaken, IDNO, nullptr, L"", L"Квиллет"},
        {L"черновик", Door::New, kUntitled, IDYES, L"", L"черновик", L"Квиллет"}, // Save As cancelled
        {L"", Door::Open, kUntitled, IDNO, L"другой", L"другой текст", L" другой.txt - Квиллет"},
        {L"!", Door::Close, L"Сохранить изменение в файле другой.txt?", IDYES, nullptr, nullptr, nullptr},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << &step - steps + 1);
        ASSERT_TRUE(app.Activate());
        const int length = app.TextLength();
        TypeText(step.typed);
        ASSERT_TRUE(WaitFor([&] { return app.TextLength() == length + int(wcslen(step.typed)); }));
        if (step.door == Door::Close)
            app.Close();
        else
            app.Press(step.door == Door::New ? 'N' : 'O', {VK_CONTROL});
        EXPECT_EQ(app.Answer(step.answer), step.question);
        if (step.fileDialog) {
            ASSERT_TRUE(app.AnswerFileDialog(*step.fileDialog ? folder.File(step.fileDialog) : L""));
        }
        if (!step.textAfter)
            break;
        EXPECT_TRUE(app.WaitText(step.textAfter)) << app.Text();
        EXPECT_TRUE(app.WaitCaption(step.captionAfter)) << app.Caption();
    }
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(FileBytes(taken), Cp1251(L"новое\r\nслово!"));
    EXPECT_EQ(FileBytes(other), Cp1251(L"!другой текст"));
}

TEST(EditorEndToEnd, FindWalksTheMatchesWithF3AndReplaceAllCountsWhatItReplacedAndIsSaved) {
    TempFolder folder;
    const std::wstring path = folder.File(L"поиск.txt");
    ASSERT_TRUE(WriteBytes(path, Cp1251(L"кот и Кот, КОТ\r\nкошка")));
    App app;
    ASSERT_TRUE(app.Open(path));
    app.Press(VK_END, {VK_CONTROL}); // the dialog searches from the top wherever the caret is

    app.Press('F', {VK_CONTROL});
    HWND dialog = app.WaitDialog(L"Найти");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"кой\r");
    EXPECT_EQ(app.Answer(IDOK), L"Текст не найден.");
    PressKey(VK_BACK); // a miss leaves the dialog open, and the user goes on typing in its field
    TypeText(L"т");
    EXPECT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L"кот"));
    PressKey(VK_RETURN);
    EXPECT_TRUE(app.WaitSelection(0, 3)); // letter case ignored, Cyrillic included
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "a match closes the dialog";

    app.Press(VK_F3);
    EXPECT_TRUE(app.WaitSelection(6, 9));
    app.Press(VK_F3);
    EXPECT_TRUE(app.WaitSelection(11, 14));
    app.Press(VK_F3);
    EXPECT_EQ(app.Answer(IDOK), L"Текст не найден.");
    EXPECT_TRUE(app.WaitSelection(11, 14)) << "a miss keeps the selection";
    app.Press(VK_F3);
    EXPECT_TRUE(app.WaitSelection(0, 3)) << "after a miss F3 starts at the top";

    app.Press('H', {VK_CONTROL});
    dialog = app.WaitDialog(L"Заменить");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"кот"); // over the selected text the field starts with
    PressKey(VK_TAB);
    TypeText(L"пёс");
    ASSERT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L"кот"));
    ASSERT_TRUE(FieldHolds(dialog, IDC_REPLACE_FIELD, L"пёс"));
    app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
    EXPECT_EQ(app.Answer(IDOK), L"Количество замен: 3");
    EXPECT_TRUE(app.WaitText(L"пёс и пёс, пёс\r\nкошка"));
    EXPECT_EQ(app.Save(path), Cp1251(L"пёс и пёс, пёс\r\nкошка"));
}

TEST(EditorEndToEnd, AReplaceAllTooLargeForMemoryChangesNothingAndTheTypedTextIsStillSaved) {
    // Eight million spaces, each to become 252 characters: about 4 GB of text, more than a 32-bit
    // process can hold, yet few enough characters for positions to count. The document is large,
    // so every wait is long.
    TempFolder folder;
    const std::wstring path = folder.File(L"огромный.txt");
    std::string bytes;
    bytes.reserve(16'000'001);
    for (int i = 0; i < 8'000'000; ++i)
        bytes += "a ";
    ASSERT_TRUE(WriteBytes(path, bytes));
    App app;
    ASSERT_TRUE(app.Open(path, 60s));
    ASSERT_TRUE(WaitFor([&] { return app.TextLength() == 16'000'000; }, 60s));
    TypeText(L"ж");
    ASSERT_TRUE(WaitFor([&] { return app.TextLength() == 16'000'001; }, 60s));

    app.Press('H', {VK_CONTROL});
    HWND dialog = app.WaitDialog(L"Заменить", 60s);
    ASSERT_NE(dialog, nullptr);
    TypeText(L" ");
    ASSERT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L" ", 60s));
    PressKey(VK_TAB);
    const std::wstring replacement(252, L'ы');
    TypeText(replacement);
    ASSERT_TRUE(FieldHolds(dialog, IDC_REPLACE_FIELD, replacement, 60s));
    app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
    EXPECT_EQ(app.Answer(IDOK, 60s), L"Недостаточно памяти: текст не изменён.");
    EXPECT_EQ(app.TextLength(), 16'000'001);

    EXPECT_TRUE(app.Save(path, 60s) == Cp1251(L"ж") + bytes) << "not saved whole";
}

} // namespace
