#include "installer/installer.h"
#include "installer/win32/main_window_win32.h"
#include "installer/win32/web_view_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <ole2.h>

namespace quillet::installer::win32 {
namespace {

struct OleInit {
    OleInit() { OleInitialize(nullptr); }
    ~OleInit() { OleUninitialize(); }
};

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

RECT RectInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The window as the installer shows it, on the real browser control or its fallback.
struct WindowTest : ::testing::Test {
    OleInit ole;
    WebViewWin32 webView;
    Installer app;
    MainWindowWin32 window{GetModuleHandleW(nullptr), app, webView};
    void SetUp() override {
        app.ports.window = &window;
        app.ports.webView = &webView;
    }
};

TEST_F(WindowTest, OpensWithItsCaptionAndShowsThePageOrItsAddressFillingTheClientArea) {
    window.Show();
    HWND handle = window.Handle();
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(IsWindowVisible(handle));
    EXPECT_EQ(TextOf(handle), L"Мои программы");

    // With a browser engine the control shows the page itself. Without one (Wine here) the address
    // is shown as a link, inside the client area, at every size.
    if (!webView.ShowsBrowser()) {
        ASSERT_NE(webView.FallbackLink(), nullptr);
        EXPECT_EQ(TextOf(webView.FallbackLink()), L"https://example.org/site/");
        EXPECT_NE(TextOf(webView.FallbackNote()).find(L"обозреватель страниц недоступен"),
                  std::wstring::npos);

        for (SIZE size : {SIZE{900, 700}, SIZE{420, 300}, SIZE{1200, 500}}) {
            SetWindowPos(handle, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
            window.PumpMessages();
            RECT client;
            GetClientRect(handle, &client);
            RECT note = RectInParent(webView.FallbackNote());
            RECT link = RectInParent(webView.FallbackLink());
            // Same margin on the left and right, the link under the note, all inside.
            EXPECT_GT(note.left, 0);
            EXPECT_EQ(client.right - note.right, note.left);
            EXPECT_EQ(link.left, note.left);
            EXPECT_EQ(link.right, note.right);
            EXPECT_GE(link.top, note.bottom);
            EXPECT_GT(note.bottom - note.top, 0);
            EXPECT_GT(link.bottom - link.top, 0);
        }

        // At twice the DPI the margin and the text are twice as large.
        auto fontHeight = [](HWND control) {
            LOGFONTW lf{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof lf, &lf);
            return lf.lfHeight;
        };
        const LONG margin = RectInParent(webView.FallbackNote()).left,
                   height = fontHeight(webView.FallbackLink());
        HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
        RECT suggested;
        GetWindowRect(handle, &suggested);
        SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_NEAR(RectInParent(webView.FallbackNote()).left, 2 * margin, 1);
        EXPECT_NEAR(fontHeight(webView.FallbackLink()), 2 * height, 1);
    }

    DestroyWindow(handle);
    EXPECT_EQ(window.Handle(), nullptr);
    // Destroying the window leaves the quit message that ends the loop.
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(WindowTest, ClosingTheWindowEndsItsMessageLoop) {
    window.Show();
    ASSERT_NE(window.Handle(), nullptr);
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.RunMessageLoop(), 0);
    EXPECT_EQ(window.Handle(), nullptr);
}

TEST_F(WindowTest, AQuitMessageMetWhilePumpingIsLeftForTheMainLoop) {
    window.Show();
    PostQuitMessage(7);
    window.PumpMessages();
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
} // namespace quillet::installer::win32
