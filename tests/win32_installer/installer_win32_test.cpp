// What the installer's end-to-end runs do not show: its window's layout at every size and DPI and
// its message loop, a shortcut that cannot be saved, variables of any length. The registry the
// shell goes by, the folder it names and the template are checked on the real runs.

#include "installer/installer.h"
#include "installer/win32/adapters.h"
#include "installer/win32/main_window_win32.h"
#include "installer/win32/web_view_win32.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <ole2.h>

namespace quillet::installer::win32 {
namespace {

using testing_win32::PlaceOf;

// Without a browser engine (Wine here) the window shows the page's address as a link.
TEST(InstallerWindowTest, ThePageOrItsAddressFillsTheClientAreaAtEverySizeAndDpiAndClosingEndsTheLoop) {
    OleInitialize(nullptr);
    {
        WebViewWin32 webView;
        Installer app;
        MainWindowWin32 window{GetModuleHandleW(nullptr), app, webView};
        app.ports.window = &window;
        app.ports.webView = &webView;
        window.Show();
        HWND handle = window.Handle();
        ASSERT_TRUE(handle && IsWindowVisible(handle));
        if (!webView.ShowsBrowser()) {
            HWND note = webView.FallbackNote(), link = webView.FallbackLink();
            EXPECT_EQ(testing_win32::TextOf(link), L"https://example.org/site/");
            for (SIZE size : {SIZE{900, 700}, SIZE{420, 300}}) {
                SetWindowPos(handle, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
                window.PumpMessages();
                RECT client, noteRect = PlaceOf(note), linkRect = PlaceOf(link);
                GetClientRect(handle, &client);
                // The same margin left and right, the link under the note.
                EXPECT_GT(noteRect.left, 0);
                EXPECT_EQ(client.right - noteRect.right, noteRect.left);
                EXPECT_EQ(std::make_pair(linkRect.left, linkRect.right),
                          std::make_pair(noteRect.left, noteRect.right));
                EXPECT_GE(linkRect.top, noteRect.bottom);
                EXPECT_GT(linkRect.bottom, linkRect.top);
            }
            // From one DPI to twice it, the margin and the text double.
            RECT suggested;
            GetWindowRect(handle, &suggested);
            SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&suggested));
            const LONG margin = PlaceOf(note).left, height = testing_win32::FontOf(link).lfHeight;
            SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(192, 192), LPARAM(&suggested));
            EXPECT_NEAR(PlaceOf(note).left, 2 * margin, 1);
            EXPECT_NEAR(testing_win32::FontOf(link).lfHeight, 2 * height, 1);
        }
        // A quit met while pumping is left for the main loop; closing ends the loop with 0, also
        // when the window is closed before the loop runs.
        PostQuitMessage(7);
        window.PumpMessages();
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 7u);
        SendMessageW(handle, WM_CLOSE, 0, 0);
        EXPECT_EQ(window.RunMessageLoop(), 0);
        EXPECT_EQ(window.Handle(), nullptr);
    }
    OleUninitialize();
}

std::u16string U(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

TEST(ShellWin32, ReportsALinkItCouldNotSave) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing_win32::TempDir dir;
    ShellLinkProperties link{1, U(dir.Path(L"Quillet.exe")), U(dir.Path(L"Quillet.exe")),
                             0, u"Текстовый документ",       U(dir.Path())};
    EXPECT_FALSE(ShellWin32().SaveLink(U(dir.Path(L"Нет такой папки\\x.lnk")), link));
    CoUninitialize();
}

TEST(EnvironmentWin32, ReadsVariablesOfAnyLengthAndTellsAMissingOne) {
    EnvironmentWin32 environment;
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), std::nullopt);
    const std::wstring value(3000, L'ж');
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", value.c_str());
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), U(value));
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", nullptr);
}

} // namespace
} // namespace quillet::installer::win32
