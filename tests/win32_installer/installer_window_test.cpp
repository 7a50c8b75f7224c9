// The installer's window on the real browser control or, without a browser engine (Wine here),
// its fallback: the page's address as a link.

#include "installer/installer.h"
#include "installer/win32/main_window_win32.h"
#include "installer/win32/web_view_win32.h"

#include <gtest/gtest.h>

#include <ole2.h>

namespace quillet::installer::win32 {
namespace {

std::wstring TextOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

RECT RectInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LONG FontHeight(HWND control) {
    LOGFONTW lf{};
    GetObjectW(HFONT(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf.lfHeight;
}

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
            EXPECT_EQ(TextOf(link), L"https://example.org/site/");
            EXPECT_NE(TextOf(note).find(L"обозреватель страниц недоступен"), std::wstring::npos);
            for (SIZE size : {SIZE{900, 700}, SIZE{420, 300}, SIZE{1200, 500}}) {
                SetWindowPos(handle, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
                window.PumpMessages();
                RECT client, noteRect = RectInParent(note), linkRect = RectInParent(link);
                GetClientRect(handle, &client);
                // The same margin left and right, the link under the note, both inside.
                EXPECT_GT(noteRect.left, 0);
                EXPECT_EQ(client.right - noteRect.right, noteRect.left);
                EXPECT_EQ(linkRect.left, noteRect.left);
                EXPECT_EQ(linkRect.right, noteRect.right);
                EXPECT_GE(linkRect.top, noteRect.bottom);
                EXPECT_GT(linkRect.bottom, linkRect.top);
            }
            // From one DPI to twice it, the margin and the text double.
            RECT suggested;
            GetWindowRect(handle, &suggested);
            SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(96, 96), LPARAM(&suggested));
            const LONG margin = RectInParent(note).left, height = FontHeight(link);
            SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(192, 192), LPARAM(&suggested));
            EXPECT_NEAR(RectInParent(note).left, 2 * margin, 1);
            EXPECT_NEAR(FontHeight(link), 2 * height, 1);
        }
        // A quit met while pumping is left for the main loop.
        PostQuitMessage(7);
        window.PumpMessages();
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(msg.wParam, 7u);
        PostMessageW(handle, WM_CLOSE, 0, 0);
        EXPECT_EQ(window.RunMessageLoop(), 0);
        EXPECT_EQ(window.Handle(), nullptr);
    }
    OleUninitialize();
}

} // namespace
} // namespace quillet::installer::win32
