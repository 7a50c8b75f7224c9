// The Help menu in the real Quillet.exe: F1 and the web-site command write the redirect page
// beside the program and have the shell open it (a stand-in browser records the opening), and
// the About window opens, shows its texts and closes.

#include "editor/files/help_menu.h"
#include "editor/platform/main_window.h"
#include "editor/win32/about_window_win32.h"
#include "editor/win32/resource.h"
#include "tests/e2e/driver.h"
#include "tests/e2e/shell_open_double.h"

#include <gtest/gtest.h>

#include <string>

using namespace quillet::e2e;
using quillet::MenuItem;
using quillet::testing::ShellOpenDouble;

namespace {

std::wstring W(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring ExeFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string RedirectPage(const std::string& target) {
    return "<html><head><meta http-equiv='refresh' content='0; url=" + target +
           "'><meta http-equiv='Content-Type' content='text/html; charset=windows-1251'><title>WWW</title>"
           "</head><body></body></html>\r\n";
}

// A copy of Quillet.exe and its help page in a folder of its own, so the pages it writes
// beside itself land there. The folder's name needs escaping inside the page.
struct ProgramCopy {
    TempFolder temp;
    std::wstring folder = temp.Path() + L"Программы O'Brien & Co\\";
    std::wstring exe = folder + L"Quillet.exe";

    bool Make() {
        std::wstring built = Env().quilletExe.substr(0, Env().quilletExe.find_last_of(L'\\') + 1);
        return CreateDirectoryW(folder.c_str(), nullptr) &&
               CopyFileW(Env().quilletExe.c_str(), exe.c_str(), FALSE) &&
               CopyFileW((built + L"Справка.htm").c_str(), (folder + L"Справка.htm").c_str(), FALSE);
    }
    ~ProgramCopy() {
        for (const wchar_t* page : {L"0.html", L"1.html", L"2.html"})
            SetFileAttributesW((folder + page).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

void Command(const App& app, MenuItem item) {
    PostMessageW(app.MainWindow(), WM_COMMAND, MAKEWPARAM(IDM_FIRST + int(item), 0), 0);
}

HWND WaitAbout(App& app) {
    return app.WaitWindow(
        [](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == W(quillet::kAboutCaption); });
}

} // namespace

TEST(HelpEndToEnd, F1WritesTheRedirectPageBesideTheProgramAndTheShellOpensIt) {
    ShellOpenDouble browser(ExeFolder() + L"shell_open_recorder.exe");
    ASSERT_TRUE(browser.RecorderExists());
    ProgramCopy program;
    ASSERT_TRUE(program.Make());
    App app;
    ASSERT_TRUE(app.Launch(program.exe, L""));
    ASSERT_NE(app.WaitMainWindow(), nullptr);
    ASSERT_TRUE(app.Activate());

    PressKey(VK_F1);
    auto opens = browser.WaitOpens(1);
    ASSERT_EQ(opens.size(), 1u);
    std::wstring page0 = program.folder + L"0.html";
    EXPECT_EQ(opens[0].arguments, L"\"" + page0 + L"\"");
    EXPECT_EQ(opens[0].folder, program.folder.substr(0, program.folder.size() - 1));
    std::string bytes;
    ASSERT_TRUE(ReadBytes(page0, bytes));
    std::string target = Cp1251(program.temp.Path()) + Cp1251(L"Программы O&#39;Brien &amp; Co\\Справка.htm");
    EXPECT_EQ(bytes, RedirectPage(target));

    // 0.html read-only: the next page number takes it.
    ASSERT_TRUE(SetFileAttributesW(page0.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(app.Activate());
    PressKey(VK_F1);
    opens = browser.WaitOpens(2);
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_EQ(opens[1].arguments, L"\"" + program.folder + L"1.html\"");
    std::string bytes1;
    ASSERT_TRUE(ReadBytes(program.folder + L"1.html", bytes1));
    EXPECT_EQ(bytes1, RedirectPage(target));

    // The web-site command, 0.html writable again: the same page number, the site as target.
    SetFileAttributesW(page0.c_str(), FILE_ATTRIBUTE_NORMAL);
    Command(app, MenuItem::MyPrograms);
    opens = browser.WaitOpens(3);
    ASSERT_EQ(opens.size(), 3u);
    EXPECT_EQ(opens[2].arguments, L"\"" + page0 + L"\"");
    ASSERT_TRUE(ReadBytes(page0, bytes));
    EXPECT_EQ(bytes, RedirectPage("https://example.org/site/"));
    app.Kill();
}

TEST(HelpEndToEnd, TheAboutWindowShowsItsTextsOpensTheSiteAndClosesWithEnterAndTheCloseBox) {
    ShellOpenDouble browser(ExeFolder() + L"shell_open_recorder.exe");
    ProgramCopy program;
    ASSERT_TRUE(program.Make());
    App app;
    ASSERT_TRUE(app.Launch(program.exe, L""));
    ASSERT_NE(app.WaitMainWindow(), nullptr);

    Command(app, MenuItem::About);
    HWND about = WaitAbout(app);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(app.MainWindow())); // modal
    EXPECT_EQ(GetWindow(about, GW_OWNER), app.MainWindow());
    EXPECT_EQ(TextOf(GetDlgItem(about, quillet::IDC_ABOUT_VERSION)), L"Версия: v1.1");
    EXPECT_EQ(TextOf(GetDlgItem(about, quillet::IDC_ABOUT_DATE)), L"Дата: 22 сентября 2007 год");
    EXPECT_EQ(TextOf(GetDlgItem(about, quillet::IDC_ABOUT_DATE2)), L"1 августа 2015 год");
    EXPECT_EQ(TextOf(GetDlgItem(about, quillet::IDC_ABOUT_SITE)), L"Сайт:");
    EXPECT_EQ(TextOf(GetDlgItem(about, quillet::IDC_ABOUT_LINK)), W(quillet::kAboutSiteLink));
    EXPECT_EQ(TextOf(GetDlgItem(about, IDOK)), L"OK");
    if (!Env().shotsFolder.empty())
        Screenshot(Env().shotsFolder + L"about_e2e.bmp");

    // A click on the link, as the mouse makes it.
    RECT link{};
    GetWindowRect(GetDlgItem(about, quillet::IDC_ABOUT_LINK), &link);
    ASSERT_TRUE(app.Activate(about));
    // Wine delivers the move on its own schedule: let the pointer arrive over the link (and the
    // window see it there) before pressing, or the press can land where the pointer was.
    const POINT target{(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    SetCursorPos(target.x, target.y);
    EXPECT_TRUE(WaitFor([&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == target.x && at.y == target.y;
    }));
    Sleep(300);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &click[0], sizeof(INPUT));
    Sleep(50);
    SendInput(1, &click[1], sizeof(INPUT));
    auto opens = browser.WaitOpens(1);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].arguments, L"\"" + program.folder + L"0.html\"");
    std::string bytes;
    ASSERT_TRUE(ReadBytes(program.folder + L"0.html", bytes));
    EXPECT_EQ(bytes, RedirectPage("https://example.org/site/"));
    EXPECT_TRUE(IsWindow(about));

    // Enter presses the default button.
    ASSERT_TRUE(app.Activate(about));
    PressKey(VK_RETURN);
    EXPECT_TRUE(WaitGone(about));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.MainWindow()) != FALSE; }));

    // Opened afresh, the close box closes it too.
    Command(app, MenuItem::About);
    about = WaitAbout(app);
    ASSERT_NE(about, nullptr);
    PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(WaitGone(about));
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.MainWindow()) != FALSE; }));
    app.Kill();
}
