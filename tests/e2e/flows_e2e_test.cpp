// Whole flows in the real Quillet.exe and Install.exe, driven as a person does: keys, the real
// message boxes and file dialogs, the bytes that land on disk, the registry the shell goes by, and
// the shell opening the help.

#include "editor/platform/main_window.h"
#include "editor/win32/resource.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <oleauto.h>
#include <shellapi.h>

#include <cstdlib>
#include <filesystem>

using namespace quillet::e2e;

namespace {

// What UI Automation's client side reads of a window in another process: its control type.
long AutomationControlType(HWND window) {
    HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
    auto function = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(dll, name)); };
    auto nodeFromHandle = reinterpret_cast<HRESULT(WINAPI*)(HWND, void**)>(function("UiaNodeFromHandle"));
    auto getPropertyValue =
        reinterpret_cast<HRESULT(WINAPI*)(void*, int, VARIANT*)>(function("UiaGetPropertyValue"));
    auto nodeRelease = reinterpret_cast<BOOL(WINAPI*)(void*)>(function("UiaNodeRelease"));
    void* node = nullptr;
    if (!nodeFromHandle || FAILED(nodeFromHandle(window, &node)) || !node)
        return -1;
    VARIANT value{}; // VT_EMPTY
    const long type = SUCCEEDED(getPropertyValue(node, 30003, &value)) && value.vt == VT_I4 ? value.lVal : -2;
    nodeRelease(node);
    return type;
}

// Where the installer puts the new-document template, made for the test, and what it writes
// outside its folder, put back afterwards as Wine makes it, with .txt for its own text files.
struct Installation {
    const std::wstring shellNew = _wgetenv(L"windir") + std::wstring(L"\\ShellNew");
    const std::wstring emptyDocument = shellNew + L"\\Текстовый документ.txt";
    Installation() { CreateDirectoryW(shellNew.c_str(), nullptr); }
    ~Installation() {
        for (const wchar_t* key :
             {L".txt\\DefaultIcon", L".txt\\Shell", L".txt\\ShellNew", L"Текстовый документ"})
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key), RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L".txt", nullptr, REG_SZ, L"txtfile", sizeof L"txtfile");
        DeleteFileW(emptyDocument.c_str());
        RemoveDirectoryW(shellNew.c_str());
    }
};

bool FieldHolds(HWND dialog, int id, const std::wstring& text, Millis timeout = 10s) {
    return WaitFor([&] { return TextOf(GetDlgItem(dialog, id)) == text; }, timeout);
}

TEST(EditorEndToEnd, ACyrillicFileIsTypedInAndSavedAndAnotherIsReplacedOrLeftOnlyWhenTheUserSaysSo) {
    TempDir folder;
    const std::wstring path = folder.Path(L"письмо.txt"), taken = folder.Path(L"занято.txt"),
                       other = folder.Path(L"другой.txt");
    ASSERT_TRUE(TempDir::Write(path, Cp1251(L"Привет, мир!\r\n")));
    ASSERT_TRUE(TempDir::Write(taken, "old"));
    ASSERT_TRUE(TempDir::Write(other, Cp1251(L"другой текст")));
    App app;
    ASSERT_TRUE(app.Open(path));
    ASSERT_TRUE(app.WaitText(L"Привет, мир!\r\n"));
    app.Press(VK_END, {VK_CONTROL});
    TypeText(L"Ёжик and hedgehog\rёлка");
    const std::wstring typed = L"Привет, мир!\r\nЁжик and hedgehog\r\nёлка";
    EXPECT_TRUE(app.WaitText(typed));
    EXPECT_EQ(app.Save(path), Cp1251(typed));

    // Saved, New asks nothing. Untitled, Ctrl+S asks for a name and adds .txt; that file exists:
    // No keeps it, Yes replaces it.
    app.Press('N', {VK_CONTROL});
    ASSERT_TRUE(app.WaitText(L""));
    TypeText(L"новое\rслово");
    ASSERT_TRUE(app.WaitText(L"новое\r\nслово"));
    for (int answer : {IDNO, IDYES}) {
        app.Press('S', {VK_CONTROL});
        ASSERT_TRUE(app.AnswerFileDialog(folder.Path(L"занято")));
        EXPECT_EQ(app.Answer(answer), L"Файл \"" + taken + L"\" уже существует.\r\nЗаменить его?");
        EXPECT_EQ(TempDir::Read(taken), answer == IDNO ? "old" : Cp1251(L"новое\r\nслово"));
        EXPECT_EQ(app.Caption(), answer == IDNO ? L"Квиллет" : L" занято.txt - Квиллет");
    }

    // Modified: Cancel keeps the document, No leaves it for another one picked in the Open
    // dialog, and Yes as Exit closes the window saves that one before the program ends.
    const wchar_t* question = L"Сохранить изменение в файле занято.txt?";
    ASSERT_TRUE(app.Activate());
    TypeText(L"!");
    ASSERT_TRUE(app.WaitText(L"новое\r\nслово!"));
    app.Press('O', {VK_CONTROL});
    EXPECT_EQ(app.Answer(IDCANCEL), question);
    EXPECT_EQ(app.Text(), L"новое\r\nслово!");
    app.Press('O', {VK_CONTROL});
    EXPECT_EQ(app.Answer(IDNO), question);
    ASSERT_TRUE(app.AnswerFileDialog(folder.Path(L"другой")));
    ASSERT_TRUE(app.WaitText(L"другой текст"));
    ASSERT_TRUE(app.Activate());
    TypeText(L"!");
    ASSERT_TRUE(app.WaitText(L"!другой текст"));
    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_FIRST + int(quillet::MenuItem::Exit), 0);
    EXPECT_EQ(app.Answer(IDYES), L"Сохранить изменение в файле другой.txt?");
    EXPECT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(TempDir::Read(taken), Cp1251(L"новое\r\nслово"));
    EXPECT_EQ(TempDir::Read(other), Cp1251(L"!другой текст"));
}

TEST(EditorEndToEnd, FindAndReplaceAllInALargeDocumentWhereOneTooLargeForMemoryLosesNothing) {
    // Eight million spaces after the words looked for: each to become 252 characters makes about
    // 4 GB of text, more than a 32-bit process can hold, yet few enough characters for positions
    // to count. It spans many of the code page conversion's chunks; the waits around it are long.
    TempDir folder;
    const std::wstring path = folder.Path(L"поиск.txt");
    std::string spaces;
    for (int i = 0; i < 8'000'000; ++i)
        spaces += "a ";
    ASSERT_TRUE(TempDir::Write(path, Cp1251(L"кот и Кот, КОТ\r\nкошка\r\n") + spaces));
    App app;
    ASSERT_TRUE(app.Open(path, 60s));
    ASSERT_TRUE(WaitFor([&] { return app.TextLength() == 16'000'023; }, 60s));
    app.Press('F', {VK_CONTROL});
    HWND dialog = app.WaitDialog(L"Найти");
    ASSERT_NE(dialog, nullptr);
    TypeText(L"кой\r");
    EXPECT_EQ(app.Answer(IDOK, 60s), L"Текст не найден.");
    PressKey(VK_BACK); // a miss leaves the dialog open, and the user goes on typing in its field
    TypeText(L"т");
    EXPECT_TRUE(FieldHolds(dialog, IDC_FIND_FIELD, L"кот"));
    PressKey(VK_RETURN);
    EXPECT_TRUE(app.WaitSelection(0, 3));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); })) << "a match closes the dialog";
    app.Press(VK_F3);
    EXPECT_TRUE(app.WaitSelection(6, 9));

    // Replace All: its count, then one that cannot be held, which is refused with nothing lost.
    const std::wstring replacements[][2] = {{L"кот", L"пёс"}, {L" ", std::wstring(252, L'ы')}};
    const wchar_t* answers[] = {L"Количество замен: 3", L"Недостаточно памяти: текст не изменён."};
    for (int i = 0; i < 2; ++i) {
        app.Press('H', {VK_CONTROL});
        dialog = app.WaitDialog(L"Заменить", 60s);
        ASSERT_NE(dialog, nullptr);
        TypeText(replacements[i][0]); // over the selected text the field starts with
        PressKey(VK_TAB);
        TypeText(replacements[i][1]);
        ASSERT_TRUE(FieldHolds(dialog, IDC_REPLACE_FIELD, replacements[i][1], 60s));
        app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
        EXPECT_EQ(app.Answer(IDOK, 60s), answers[i]);
    }
    const std::string replaced = Cp1251(L"пёс и пёс, пёс\r\nкошка\r\n") + spaces;
    EXPECT_TRUE(app.Save(path, 60s) == replaced) << "not saved as replaced";
}

// While it lives, the prefix opens .html pages with this program, so that a page the shell is
// asked to open shows in a window; then .html opens with what it opened with before.
struct PagesOpenWith {
    static constexpr const wchar_t* kProgId = L"QuilletTests.Page";
    explicit PagesOpenWith(const std::wstring& program) {
        DWORD size = sizeof before;
        RegGetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, RRF_RT_REG_SZ, nullptr, before, &size);
        Set(L".html", kProgId);
        Set(std::wstring(kProgId) + L"\\shell\\open\\command", L"\"" + program + L"\" \"%1\"");
    }
    ~PagesOpenWith() {
        if (*before)
            Set(L".html", before);
        else
            RegDeleteKeyValueW(HKEY_CLASSES_ROOT, L".html", nullptr);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
    }
    static void Set(const std::wstring& key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }
    wchar_t before[256] = {}; // what .html opened with, put back afterwards
};

TEST(EditorEndToEnd, F1HasTheShellOpenAPageBesideTheProgramThatLeadsToItsHelpAndAboutIsModal) {
    // A copy of the program and its help in a folder of its own, where it writes the page; the
    // copy stands in for the browser too.
    TempDir folder;
    const auto help = std::filesystem::path(Env().quilletExe).replace_filename(L"Справка.htm");
    ASSERT_TRUE(CopyFileW(help.c_str(), folder.Path(L"Справка.htm").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Env().quilletExe.c_str(), folder.Path(L"Quillet.exe").c_str(), FALSE));
    const PagesOpenWith browser(folder.Path(L"Quillet.exe"));
    App app;
    ASSERT_TRUE(app.Launch(folder.Path(L"Quillet.exe"), L"") && app.WaitReady(L"Квиллет"));

    app.Press(VK_F1);
    HWND page = nullptr;
    ASSERT_TRUE(
        WaitFor([&] { return (page = FindWindowW(L"QuilletMain", L" 0.html - Квиллет")) != nullptr; }, 15s))
        << "the shell opened no page";
    const std::string leadsTo = "content='0; url=" + Cp1251(folder.Path(L"Справка.htm")) + "'>";
    EXPECT_NE(TempDir::Read(folder.Path(L"0.html")).find(leadsTo), std::string::npos)
        << "the page leads elsewhere";
    PostMessageW(page, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(page); }));

    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_FIRST + int(quillet::MenuItem::About), 0);
    HWND about = app.WaitDialog(L"О программе");
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.MainWindow()));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(app.MainWindow()); }));
}

// Install.exe run from the folder that holds Quillet.exe, then a document opened by the shell.
TEST(InstallerEndToEnd, RegistersQuilletSoThatTheShellOpensATextDocumentInIt) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const Installation installation;
    TempDir folder;
    ASSERT_TRUE(CopyFileW(Env().installExe.c_str(), folder.Path(L"Install.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Env().quilletExe.c_str(), folder.Path(L"Quillet.exe").c_str(), FALSE));
    ASSERT_TRUE(TempDir::Write(installation.emptyDocument, "text from before"));

    App install;
    ASSERT_TRUE(install.Launch(folder.Path(L"Install.exe"), L""));
    EXPECT_EQ(install.Answer(IDOK, 15s), L"Установка программы завершена.");
    HWND window = install.WaitWindow([](HWND hwnd) { return TextOf(hwnd) == L"Мои программы"; }, 15s);
    ASSERT_NE(window, nullptr) << "the installer's window did not open";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_NE(install.WaitExit(), -1) << "the installer ends with its window";
    EXPECT_EQ(TempDir::Read(installation.emptyDocument), "") << "the new-document template";

    // A double-click on a document: the shell finds Quillet through what was registered.
    const std::wstring document = folder.Path(L"Мой документ с пробелами.txt");
    ASSERT_TRUE(TempDir::Write(document, Cp1251(L"Открыто через ассоциацию\r\n")));
    SHELLEXECUTEINFOW open{sizeof open, SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI};
    open.lpFile = document.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open) && open.hProcess) << "no program for .txt, error " << GetLastError();
    App quillet;
    quillet.Adopt(open.hProcess);
    ASSERT_TRUE(quillet.WaitReady(L" Мой документ с пробелами.txt - Квиллет", 15s)) << quillet.Caption();
    EXPECT_TRUE(quillet.WaitText(L"Открыто через ассоциацию\r\n"));
    EXPECT_EQ(AutomationControlType(quillet.TextControl()), 50030) << "a screen reader finds no document";
}

} // namespace
