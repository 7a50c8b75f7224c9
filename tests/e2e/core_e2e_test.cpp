// The real Quillet.exe from start to close: the command line, the failure message before the
// window, the settings written at close and applied at the next start, and F9.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <map>

using namespace quillet::e2e;

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Quillet\\INI";

std::wstring Setting(const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

void StoreSettings(const std::map<std::wstring, std::wstring>& values) {
    for (const auto& key : App::DefaultSettingsKeys())
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    for (const auto& [name, value] : values)
        RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
}

bool MainWindowVisible(const App& app) {
    for (HWND hwnd : TopWindows(app.Pid()))
        if (ClassOf(hwnd) == L"QuilletMain")
            return true;
    return false;
}

int WidthOf(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc.right - rc.left;
}

} // namespace

TEST(CoreEndToEnd, StartsUntitledAndWritesTheFirstRunSettingsWhenClosed) {
    App app;
    ASSERT_TRUE(app.Launch(Env().quilletExe, L""));
    ASSERT_NE(app.WaitMainWindow(), nullptr);
    EXPECT_TRUE(app.WaitCaption(L"Квиллет"));
    EXPECT_EQ(app.TextLength(), 0);
    app.Close();
    ASSERT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(Setting(L"FontName"), L"MS Sans Serif");
    EXPECT_EQ(Setting(L"FontSize"), L"12");
    EXPECT_EQ(Setting(L"FontBold"), L"");
    EXPECT_EQ(Setting(L"FontItalic"), L"");
    EXPECT_EQ(Setting(L"PerenosSlov"), L""); // a first run turns word wrap off
    EXPECT_EQ(Setting(L"WindowState"), L"0");
    EXPECT_NE(Setting(L"Width"), L"<missing>");
    EXPECT_NE(Setting(L"Klava"), L"<missing>");
}

TEST(CoreEndToEnd, OpensAQuotedCyrillicPathAndAnUnquotedPathWithSpaces) {
    TempFolder folder;
    std::wstring quoted = folder.File(L"письмо.txt");
    std::wstring spaced = folder.File(L"мои заметки.txt");
    ASSERT_TRUE(WriteBytes(quoted, Cp1251(L"Здравствуйте!\r\nВторая строка")));
    ASSERT_TRUE(WriteBytes(spaced, Cp1251(L"Заметка\tс табуляцией")));
    {
        App app;
        ASSERT_TRUE(app.Launch(Env().quilletExe, L"\"" + quoted + L"\""));
        ASSERT_NE(app.WaitMainWindow(), nullptr);
        EXPECT_TRUE(app.WaitCaption(L" письмо.txt - Квиллет"));
        EXPECT_TRUE(app.WaitText(L"Здравствуйте!\r\nВторая строка"));
        app.Close();
        EXPECT_EQ(app.WaitExit(), 0); // unmodified: closes without a question
    }
    {
        App app;
        ASSERT_TRUE(app.Launch(Env().quilletExe, spaced));
        ASSERT_NE(app.WaitMainWindow(), nullptr);
        EXPECT_TRUE(app.WaitCaption(L" мои заметки.txt - Квиллет"));
        EXPECT_TRUE(app.WaitText(L"Заметка\tс табуляцией"));
        app.Close();
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

TEST(CoreEndToEnd, AMissingFileIsReportedBeforeTheWindowWhichThenOpensUntitled) {
    TempFolder folder;
    std::wstring missing = folder.File(L"нет такого.txt");
    App app;
    ASSERT_TRUE(app.Launch(Env().quilletExe, L"\"" + missing + L"\""));
    MessageBoxInfo box = app.WaitMessageBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.title, L"Квиллет");
    EXPECT_EQ(box.text, L"Файл \"" + missing + L"\" не найден.");
    EXPECT_FALSE(MainWindowVisible(app));
    ASSERT_TRUE(app.ClickButton(box.hwnd, IDOK));
    ASSERT_NE(app.WaitMainWindow(), nullptr);
    EXPECT_TRUE(app.WaitCaption(L"Квиллет"));
    EXPECT_EQ(app.TextLength(), 0);
    app.Close();
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST(CoreEndToEnd, StoredSettingsAreAppliedAtStartAndWrittenBackAtClose) {
    StoreSettings({{L"FontName", L"Arial"},
                   {L"FontSize", L"14"},
                   {L"FontBold", L"INI"},
                   {L"FontItalic", L""},
                   {L"Klava", L"419"},
                   {L"PerenosSlov", L"INI"},
                   {L"Width", L"8000"},
                   {L"Height", L"6000"},
                   {L"WindowState", L"2"}});
    App app;
    ASSERT_TRUE(app.Launch(Env().quilletExe, L"", {}));
    HWND main = app.WaitMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(main) != FALSE; }, 5s));

    // Restored, it has the stored normal size (8000 twips at 96 dpi is 533 pixels).
    SendMessageTimeoutW(main, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !IsZoomed(main); }, 5s));
    EXPECT_NEAR(WidthOf(main), 533, 2);
    SendMessageTimeoutW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(WaitFor([&] { return IsZoomed(main) != FALSE; }, 5s));

    app.Close();
    ASSERT_EQ(app.WaitExit(), 0);
    EXPECT_EQ(Setting(L"FontName"), L"Arial");
    EXPECT_EQ(Setting(L"FontSize"), L"14");
    EXPECT_EQ(Setting(L"FontBold"), L"INI");
    EXPECT_EQ(Setting(L"FontItalic"), L"");
    EXPECT_EQ(Setting(L"PerenosSlov"), L"INI"); // word wrap stayed on
    EXPECT_EQ(Setting(L"WindowState"), L"2");
    EXPECT_NEAR(std::stoi(Setting(L"Width")), 8000, 30);
    EXPECT_NEAR(std::stoi(Setting(L"Height")), 6000, 30);
}

TEST(CoreEndToEnd, F9SwitchesTheLayoutWithoutTouchingTheDocument) {
    TempFolder folder;
    std::wstring path = folder.File(L"a.txt");
    ASSERT_TRUE(WriteBytes(path, "abc"));
    App app;
    ASSERT_TRUE(app.Launch(Env().quilletExe, path));
    ASSERT_NE(app.WaitMainWindow(), nullptr);
    ASSERT_TRUE(app.WaitText(L"abc"));
    ASSERT_TRUE(app.Activate());
    PressKey(VK_F9);
    PressKey(VK_F9);
    ASSERT_TRUE(app.Sync());
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(app.Text(), L"abc");
    EXPECT_EQ(app.Caption(), L" a.txt - Квиллет");
    app.Close();
    EXPECT_EQ(app.WaitExit(), 0); // F9 is no edit: nothing to ask
    EXPECT_EQ(Setting(L"Klava"), L"419");
}
