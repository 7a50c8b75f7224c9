// The Help menu of the real Quillet.exe: F1 writes the page that leads to the help beside the
// program and has the shell open it (a stand-in browser records that), and the About window.

#include "editor/platform/main_window.h"
#include "editor/win32/about_window_win32.h"
#include "editor/win32/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/shell_open_double.h"

#include <gtest/gtest.h>

using namespace quillet::e2e;

namespace {

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

TEST(HelpEndToEnd, F1HasTheShellOpenAPageBesideTheProgramThatLeadsToItsHelpAndAboutIsModal) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    quillet::testing::ShellOpenDouble browser(FolderOf(self) + L"shell_open_recorder.exe");
    ASSERT_TRUE(browser.RecorderExists());
    // A copy of the program and its help in a Cyrillic folder, where it writes the page.
    TempFolder temp;
    const std::wstring folder = temp.File(L"Программы\\");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(Env().quilletExe.c_str(), (folder + L"Quillet.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((FolderOf(Env().quilletExe) + L"Справка.htm").c_str(),
                          (folder + L"Справка.htm").c_str(), FALSE));
    App app;
    ASSERT_TRUE(app.Start({}, folder + L"Quillet.exe"));

    app.Press(VK_F1);
    const auto opens = browser.WaitOpens(1);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].arguments, L"\"" + folder + L"0.html\"");
    EXPECT_EQ(FileBytes(folder + L"0.html"),
              "<html><head><meta http-equiv='refresh' content='0; url=" + Cp1251(folder) +
                  Cp1251(L"Справка.htm'><meta http-equiv='Content-Type' content='text/html; "
                         L"charset=windows-1251'><title>WWW</title></head><body></body></html>\r\n"));

    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_FIRST + int(quillet::MenuItem::About), 0);
    HWND about = app.WaitDialog(L"О программе");
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.MainWindow()));
    EXPECT_EQ(TextOf(GetDlgItem(about, quillet::IDC_ABOUT_VERSION)), L"Версия: v1.1");
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about) && IsWindowEnabled(app.MainWindow()); }));
}

} // namespace
