// Documents end to end in the real Quillet.exe: saving through the real Save As dialog, the
// overwrite and save-changes questions, a read-only file, New, Open and closing.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

using namespace quillet::e2e;

namespace {

constexpr int kFileNameBox = 1148;
constexpr int kMenuFirst = 40000;
constexpr int kSaveAsItem = 4; // MenuItem::SaveAs

bool IsFileDialog(HWND hwnd) {
    return GetDlgItem(hwnd, kFileNameBox) || FindDescendant(hwnd, L"", kFileNameBox);
}

HWND WaitDialog(const App& app, bool fileDialog, Millis timeout = 10s) {
    return app.WaitWindow(
        [&](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && IsFileDialog(hwnd) == fileDialog; }, timeout);
}

HWND WaitFileDialog(const App& app) {
    return WaitDialog(app, true);
}

// What the file dialog's name field holds.
std::wstring FileNameIn(HWND dialog) {
    HWND field = GetDlgItem(dialog, kFileNameBox);
    if (!field)
        field = FindDescendant(dialog, L"", kFileNameBox);
    HWND edit = field && ClassOf(field) != L"Edit" ? FindDescendant(field, L"Edit") : field;
    return edit ? TextOf(edit) : L"<no name field>";
}

// The message box now up: its text, after waiting for it.
MessageBoxInfo WaitQuestion(const App& app) {
    HWND box = WaitDialog(app, false);
    if (!box)
        return {};
    return app.WaitMessageBox(1s);
}

void Answer(const App& app, HWND dialog, int button) {
    ASSERT_TRUE(app.ClickButton(dialog, button));
    ASSERT_TRUE(WaitGone(dialog));
}

void Save(const App& app, HWND dialog, const std::wstring& path) {
    ASSERT_TRUE(app.AcceptFileDialog(dialog, path));
    ASSERT_TRUE(WaitGone(dialog));
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : std::string("<missing>");
}

void StartUntitled(App& app) {
    ASSERT_TRUE(app.Launch(Env().quilletExe, L""));
    ASSERT_NE(app.WaitMainWindow(), nullptr);
    ASSERT_TRUE(app.WaitCaption(L"Квиллет"));
    ASSERT_TRUE(app.Activate());
}

void Shot(const wchar_t* name) {
    if (!Env().shotsFolder.empty())
        Screenshot(Env().shotsFolder + name);
}

} // namespace

TEST(FilesEndToEnd, CtrlSOnAnUntitledDocumentSavesWindows1251WithCrLfAndAddsTxt) {
    TempFolder folder;
    App app;
    StartUntitled(app);
    TypeText(L"Привет, мир\rЁлка");
    ASSERT_TRUE(app.WaitText(L"Привет, мир\r\nЁлка"));

    PressKey('S', {VK_CONTROL});
    HWND dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    Save(app, dialog, folder.File(L"письмо"));

    EXPECT_TRUE(app.WaitCaption(L" письмо.txt - Квиллет")) << app.Caption().size();
    EXPECT_EQ(FileBytes(folder.File(L"письмо.txt")), Cp1251(L"Привет, мир\r\nЁлка"));
    EXPECT_EQ(FileBytes(folder.File(L"письмо")), "<missing>");

    // Closing now asks nothing: the document is saved.
    app.Close();
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(FilesEndToEnd, TheOverwriteQuestionAnsweredNoKeepsTheFileAndYesReplacesIt) {
    TempFolder folder;
    std::wstring taken = folder.File(L"занято.txt");
    ASSERT_TRUE(WriteBytes(taken, "old"));
    App app;
    StartUntitled(app);
    TypeText(L"новое");
    ASSERT_TRUE(app.WaitText(L"новое"));

    PressKey('S', {VK_CONTROL});
    HWND dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    Save(app, dialog, folder.File(L"занято")); // completed to занято.txt, which exists
    MessageBoxInfo question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    EXPECT_EQ(question.title, L"Квиллет");
    EXPECT_EQ(question.text, L"Файл \"" + taken + L"\" уже существует.\r\nЗаменить его?");
    Shot(L"files_overwrite.bmp");
    Answer(app, question.hwnd, IDNO);
    app.Sync();
    EXPECT_EQ(FileBytes(taken), "old");
    EXPECT_EQ(app.Caption(), L"Квиллет");

    // Save As from the menu this time, answered Yes.
    PostMessageW(app.MainWindow(), WM_COMMAND, kMenuFirst + kSaveAsItem, 0);
    dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    Save(app, dialog, taken);
    question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    Answer(app, question.hwnd, IDYES);
    EXPECT_TRUE(app.WaitCaption(L" занято.txt - Квиллет"));
    EXPECT_EQ(FileBytes(taken), Cp1251(L"новое"));

    // Now titled, Save As opens on the document: given its full path, the dialog shows its
    // folder and its name.
    PostMessageW(app.MainWindow(), WM_COMMAND, kMenuFirst + kSaveAsItem, 0);
    dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    WaitFor([&] { return !FileNameIn(dialog).empty(); }, 2s);
    EXPECT_EQ(FileNameIn(dialog), L"занято.txt");
    Answer(app, dialog, IDCANCEL);
    app.Kill();
}

TEST(FilesEndToEnd, SavingOntoAReadOnlyFileSaysSoAndChangesNothing) {
    TempFolder folder;
    std::wstring path = folder.File(L"только чтение.txt");
    ASSERT_TRUE(WriteBytes(path, "old"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    App app;
    ASSERT_TRUE(app.Open(path));
    TypeText(L"new ");
    ASSERT_TRUE(app.WaitText(L"new old"));

    PressKey('S', {VK_CONTROL});
    MessageBoxInfo error = WaitQuestion(app);
    ASSERT_NE(error.hwnd, nullptr);
    EXPECT_EQ(error.title, L"Квиллет");
    EXPECT_EQ(error.text, L"Файл \"" + path + L"\" защищён от записи.");
    Answer(app, error.hwnd, IDOK);
    EXPECT_EQ(FileBytes(path), "old");
    EXPECT_EQ(app.Caption(), L" только чтение.txt - Квиллет");

    // Still modified: closing asks, and Cancel keeps the window.
    app.Close();
    MessageBoxInfo question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    EXPECT_EQ(question.text, L"Сохранить изменение в файле только чтение.txt?");
    Answer(app, question.hwnd, IDCANCEL);
    app.Sync();
    EXPECT_TRUE(app.Running());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    app.Kill();
}

TEST(FilesEndToEnd, NewOpenAndCloseOnAModifiedDocumentAnsweredCancelNoAndYes) {
    TempFolder folder;
    std::wstring other = folder.File(L"другой.txt");
    ASSERT_TRUE(WriteBytes(other, Cp1251(L"другой текст")));
    App app;
    StartUntitled(app);
    TypeText(L"черновик");
    ASSERT_TRUE(app.WaitText(L"черновик"));

    // New, Cancel: everything stays.
    PressKey('N', {VK_CONTROL});
    MessageBoxInfo question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    EXPECT_EQ(question.text, L"Сохранить изменение в файле?");
    Answer(app, question.hwnd, IDCANCEL);
    app.Sync();
    EXPECT_EQ(app.Text(), L"черновик");

    // New, Yes, and the Save As dialog cancelled: the document is not lost.
    PressKey('N', {VK_CONTROL});
    question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    Answer(app, question.hwnd, IDYES);
    HWND dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    Answer(app, dialog, IDCANCEL);
    app.Sync();
    EXPECT_EQ(app.Text(), L"черновик");

    // New, No: discarded, untitled and empty.
    PressKey('N', {VK_CONTROL});
    question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    Answer(app, question.hwnd, IDNO);
    EXPECT_TRUE(app.WaitText(L""));
    EXPECT_EQ(app.Caption(), L"Квиллет");

    // Open on a modified document, Yes: saved first, then the Open dialog loads the other file.
    TypeText(L"второй");
    ASSERT_TRUE(app.WaitText(L"второй"));
    PressKey('O', {VK_CONTROL});
    question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    Answer(app, question.hwnd, IDYES);
    dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    Save(app, dialog, folder.File(L"второй")); // the Save As dialog for the untitled document
    dialog = WaitFileDialog(app);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(FileBytes(folder.File(L"второй.txt")), Cp1251(L"второй"));
    Save(app, dialog, folder.File(L"другой")); // the Open dialog: .txt is added here too
    EXPECT_TRUE(app.WaitCaption(L" другой.txt - Квиллет"));
    EXPECT_TRUE(app.WaitText(L"другой текст"));

    // Close on a modified document: No closes without saving.
    ASSERT_TRUE(app.Activate());
    TypeText(L"!");
    ASSERT_TRUE(app.WaitText(L"!другой текст"));
    app.Close();
    question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    EXPECT_EQ(question.text, L"Сохранить изменение в файле другой.txt?");
    Answer(app, question.hwnd, IDNO);
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(FileBytes(other), Cp1251(L"другой текст"));
}

TEST(FilesEndToEnd, ClosingAnsweredYesSavesAndEnds) {
    TempFolder folder;
    std::wstring path = folder.File(L"итог.txt");
    ASSERT_TRUE(WriteBytes(path, "old"));
    App app;
    ASSERT_TRUE(app.Launch(Env().quilletExe, path));
    ASSERT_NE(app.WaitMainWindow(), nullptr);
    ASSERT_TRUE(app.WaitCaption(L" итог.txt - Квиллет"));
    ASSERT_TRUE(app.Activate());
    TypeText(L"new ");
    ASSERT_TRUE(app.WaitText(L"new old"));
    app.Close();
    MessageBoxInfo question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    Answer(app, question.hwnd, IDYES);
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(FileBytes(path), "new old");
}

TEST(FilesEndToEnd, CharactersOutsideTheCodePageAreSavedOnlyWhenTheUserAgrees) {
    TempFolder folder;
    std::wstring path = folder.File(L"смесь.txt");
    ASSERT_TRUE(WriteBytes(path, "old"));
    App app;
    ASSERT_TRUE(app.Open(path));
    TypeText(L"日本 ");
    ASSERT_TRUE(app.WaitText(L"日本 old"));

    PressKey('S', {VK_CONTROL});
    MessageBoxInfo question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    EXPECT_EQ(question.title, L"Квиллет");
    EXPECT_NE(question.text.find(L"будут заменены"), std::wstring::npos);
    Shot(L"files_unencodable.bmp");
    Answer(app, question.hwnd, IDNO);
    app.Sync();
    EXPECT_EQ(FileBytes(path), "old");

    PressKey('S', {VK_CONTROL});
    question = WaitQuestion(app);
    ASSERT_NE(question.hwnd, nullptr);
    Answer(app, question.hwnd, IDYES);
    app.Sync();
    EXPECT_EQ(FileBytes(path), "?? old");

    // Saved: closing asks nothing more.
    app.Close();
    EXPECT_EQ(app.WaitExit(), 0);
}
