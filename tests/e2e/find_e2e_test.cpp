// Find, Find Next and Replace All in the real Quillet.exe, driven from the keyboard.

#include "editor/win32/resource.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

using namespace quillet::e2e;

namespace {

// A dialog of the program with this caption (the find dialog or a message box), or null.
HWND WaitDialog(const App& app, const std::wstring& caption, Millis timeout = 10s) {
    return app.WaitWindow([&](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == caption; },
                          timeout);
}

// The "Квиллет" message box (the find dialog may be up beside it): its text, after pressing OK.
std::wstring AnswerMessage(const App& app) {
    HWND box = WaitDialog(app, L"Квиллет");
    if (!box)
        return L"<no message box>";
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0 && !TextOf(child).empty())
            text = TextOf(child);
    app.ClickButton(box, IDOK);
    WaitGone(box);
    return text;
}

// Typed keys come through the input queue, behind anything posted: wait for them to land.
bool FieldHolds(HWND dialog, int id, const std::wstring& text) {
    return WaitFor([&] { return TextOf(GetDlgItem(dialog, id)) == text; }, 3s);
}

bool SelectionIs(const App& app, int start, int end) {
    app.Sync();
    return WaitFor([&] { return app.Selection() == std::pair(start, end); }, 3s);
}

class FindEndToEnd : public ::testing::Test {
protected:
    void Open(const std::wstring& text) {
        path = folder.File(L"поиск.txt");
        ASSERT_TRUE(WriteBytes(path, Cp1251(text)));
        ASSERT_TRUE(app.Open(path));
        ASSERT_TRUE(app.WaitText(text));
    }

    // Ctrl+F (or Ctrl+H), the text typed into the search field, Enter.
    HWND OpenDialog(WORD key, const std::wstring& caption) {
        app.Activate();
        PressKey(key, {VK_CONTROL});
        return WaitDialog(app, caption);
    }

    TempFolder folder;
    std::wstring path;
    App app;
};

TEST_F(FindEndToEnd, FindSelectsTheMatchAndF3StepsThroughEveryMatchAndRoundAgain) {
    Open(L"one two one\r\nthree");
    PressKey(VK_END, {VK_CONTROL}); // the dialog searches from the top whatever the caret

    HWND dialog = OpenDialog('F', L"Найти");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"onf");
    PressKey(VK_RETURN);
    HWND box = WaitDialog(app, L"Квиллет");
    ASSERT_NE(box, nullptr) << "«Текст не найден.»";
    PressKey(VK_ESCAPE); // the press closes the box; the release reaches the search field
    EXPECT_TRUE(WaitGone(box));
    EXPECT_FALSE(WaitGone(dialog, 500ms))
        << "a miss, and the Escape that closed its message, leave the dialog open";
    // The user goes on typing in the field straight away.
    PressKey(VK_BACK);
    TypeText(L"e");
    EXPECT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L"one"));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitGone(dialog)) << "a match closes the dialog";
    EXPECT_TRUE(SelectionIs(app, 0, 3));

    app.Activate();
    PressKey(VK_F3);
    EXPECT_TRUE(SelectionIs(app, 8, 11));
    PressKey(VK_F3);
    EXPECT_EQ(AnswerMessage(app), L"Текст не найден.");
    EXPECT_TRUE(SelectionIs(app, 8, 11)) << "a miss keeps the selection";
    app.Activate();
    PressKey(VK_F3);
    EXPECT_TRUE(SelectionIs(app, 0, 3)) << "after a miss F3 starts at the top";
    EXPECT_EQ(app.Caption(), L" поиск.txt - Квиллет");
    app.Kill();
}

TEST_F(FindEndToEnd, ReplaceAllReportsTheCountAndTheSavedFileHoldsTheResult) {
    Open(L"кот и Кот, КОТ\r\nкошка");
    HWND dialog = OpenDialog('H', L"Заменить");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"кот");
    PressKey(VK_TAB); // to the replacement field
    TypeText(L"пёс");
    EXPECT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L"кот"));
    EXPECT_TRUE(FieldHolds(dialog, IDC_REPLACE_FIELD, L"пёс"));
    app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
    EXPECT_EQ(AnswerMessage(app), L"Количество замен: 3");
    EXPECT_TRUE(WaitGone(dialog));
    EXPECT_TRUE(app.WaitText(L"пёс и пёс, пёс\r\nкошка"));

    app.Activate();
    PressKey('S', {VK_CONTROL});
    std::string bytes;
    EXPECT_TRUE(
        WaitFor([&] { return ReadBytes(path, bytes) && bytes == Cp1251(L"пёс и пёс, пёс\r\nкошка"); }));

    // Nothing to replace: the count is 0 and the text stays.
    dialog = OpenDialog('H', L"Заменить");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"кот");
    EXPECT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L"кот"));
    app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
    EXPECT_EQ(AnswerMessage(app), L"Количество замен: 0");
    EXPECT_TRUE(WaitGone(dialog));
    EXPECT_EQ(app.Text(), L"пёс и пёс, пёс\r\nкошка");
    app.Kill();
}

TEST_F(FindEndToEnd, AReplaceAllTooLargeForMemoryChangesNothingAndTheTypedCharacterIsSaved) {
    // Eight million spaces, each to become 252 characters: about 4 GB of text, more than a 32-bit
    // process can hold, yet few enough characters for positions to count.
    path = folder.File(L"огромный.txt");
    std::string bytes;
    bytes.reserve(16'000'000);
    for (int i = 0; i < 8'000'000; ++i)
        bytes += "a ";
    ASSERT_TRUE(WriteBytes(path, bytes));
    ASSERT_TRUE(app.Open(path, 30s));
    ASSERT_TRUE(WaitFor([&] { return app.TextLength() == 16'000'000; }, 30s));
    app.Activate();
    TypeText(L"ж");
    ASSERT_TRUE(WaitFor([&] { return app.TextLength() == 16'000'001; }));

    HWND dialog = OpenDialog('H', L"Заменить");
    ASSERT_NE(dialog, nullptr);
    TypeText(L" ");
    PressKey(VK_TAB);
    const std::wstring replacement(252, L'ы');
    TypeText(replacement);
    ASSERT_TRUE(FieldHolds(dialog, IDC_REPLACE_FIELD, replacement));
    app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
    EXPECT_EQ(AnswerMessage(app), L"Недостаточно памяти: текст не изменён.");
    EXPECT_TRUE(WaitGone(dialog));
    ASSERT_TRUE(app.Running());
    EXPECT_EQ(app.TextLength(), 16'000'001);

    app.Activate();
    PressKey('S', {VK_CONTROL});
    EXPECT_TRUE(WaitFor(
        [&] {
            return ReadBytes(path, bytes) && bytes.size() == 16'000'001 &&
                   bytes.compare(0, 5,
                                 "\xE6"
                                 "a a ") == 0;
        },
        30s));
    app.Kill();
}

TEST_F(FindEndToEnd, MatchCaseOnAndOffWithCyrillicText) {
    Open(L"Привет привет ПРИВЕТ");
    HWND dialog = OpenDialog('F', L"Найти");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"привет");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitGone(dialog));
    EXPECT_TRUE(SelectionIs(app, 0, 6)) << "case ignored";

    dialog = OpenDialog('F', L"Найти");
    ASSERT_NE(dialog, nullptr);
    app.ClickButton(dialog, IDC_MATCH_CASE);
    app.Sync();
    PressKey(VK_TAB);    // from the check box round to the search field, its text selected
    TypeText(L"ПРИВЕТ"); // in place of the selection the field starts with
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitGone(dialog));
    EXPECT_TRUE(SelectionIs(app, 14, 20));
    app.Activate();
    PressKey(VK_F3);
    EXPECT_EQ(AnswerMessage(app), L"Текст не найден.");

    // Clearing the box again: F3 finds every spelling.
    dialog = OpenDialog('F', L"Найти");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDC_MATCH_CASE), BM_GETCHECK, 0, 0), BST_CHECKED);
    app.ClickButton(dialog, IDC_MATCH_CASE);
    app.ClickButton(dialog, IDC_CANCEL_BUTTON);
    EXPECT_TRUE(WaitGone(dialog));
    app.Activate();
    PressKey(VK_F3);
    EXPECT_TRUE(SelectionIs(app, 0, 6));
    app.Kill();
}

TEST_F(FindEndToEnd, EscapeInAFieldClosesAndOnTheCheckBoxDoesNot) {
    Open(L"text");
    HWND dialog = OpenDialog('F', L"Найти");
    ASSERT_NE(dialog, nullptr);
    PressKey(VK_TAB, {VK_SHIFT}); // back from the search field to the check box
    PressKey(VK_ESCAPE);
    app.Sync();
    EXPECT_FALSE(WaitGone(dialog, 1s)) << "Escape on the check box leaves the dialog open";
    PressKey(VK_TAB); // forward again to the search field
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitGone(dialog));

    dialog = OpenDialog('H', L"Заменить");
    ASSERT_NE(dialog, nullptr);
    PressKey(VK_TAB);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitGone(dialog)) << "Escape in the replacement field closes";
    EXPECT_EQ(app.Text(), L"text");
    app.Kill();
}

TEST_F(FindEndToEnd, F3BeforeAnySearchOpensTheFindDialog) {
    Open(L"text");
    PressKey(VK_F3);
    HWND dialog = WaitDialog(app, L"Найти");
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_REPLACE_FIELD)));
    app.ClickButton(dialog, IDC_CANCEL_BUTTON);
    EXPECT_TRUE(WaitGone(dialog));
    app.Kill();
}

} // namespace
