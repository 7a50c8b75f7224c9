#include "editor/files/help_menu.h"
#include "editor/win32/about_window_win32.h"

#include "fakes/editor_with_fakes.h"
#include "win32/screenshot.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

namespace quillet {
namespace {

std::wstring W(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

// Runs steps against the About window while ShowModal's loop is running: a thread timer fires
// inside the dialog's own message loop. A window that never closes is closed after a while so
// that a fault fails the test instead of hanging it.
class AboutWindowTest : public ::testing::Test, public fakes::EditorWithFakes {
protected:
    AboutWindowTest() : box(GetModuleHandleW(nullptr)) {
        box.Attach(ed);
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        box.SetOwner(owner);
        ed.doc.programFolder = u"C:\\Prog\\";
    }
    ~AboutWindowTest() override { DestroyWindow(owner); }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        HWND about = FindWindowW(L"#32770", W(kAboutCaption).c_str());
        if (!about) { // not up yet
            current->timer = SetTimer(nullptr, 0, 50, Tick);
            return;
        }
        if (++current->ticks > 200) { // 10 s without closing: a fault
            current->forcedClose = true;
            EndDialog(about, IDCANCEL);
            return;
        }
        if (current->step) {
            auto step = std::move(current->step);
            current->step = nullptr;
            step(about);
        }
        current->timer = SetTimer(nullptr, 0, 50, Tick);
    }

    // Shows the window, runs step once it is up, returns when the window has closed.
    void ShowAndRun(std::function<void(HWND)> firstStep) {
        current = this;
        step = std::move(firstStep);
        ticks = 0;
        forcedClose = false;
        timer = SetTimer(nullptr, 0, 50, Tick);
        box.ShowModal();
        KillTimer(nullptr, timer);
    }

    static inline AboutWindowTest* current = nullptr;
    AboutBoxWin32 box;
    HWND owner = nullptr;
    std::function<void(HWND)> step;
    UINT_PTR timer = 0;
    int ticks = 0;
    bool forcedClose = false;
};

TEST_F(AboutWindowTest, OpensCentredOverADisabledOwnerInSystemColoursRescalesForItsDpiAndClosesWithEnter) {
    COLORREF background = 0;
    RECT ok{};
    LONG fontHeight = 0;
    bool ownerEnabled = true;
    HWND seenOwner = nullptr;
    RECT client{}, outer{};
    LONG_PTR style = 0, exStyle = 0;
    std::wstring texts[7];
    bool linkUnderlined = false;
    bool okIsDefault = false;
    ShowAndRun([&](HWND about) {
        ownerEnabled = IsWindowEnabled(owner);
        seenOwner = GetWindow(about, GW_OWNER);
        GetClientRect(about, &client);
        GetWindowRect(about, &outer);
        style = GetWindowLongPtrW(about, GWL_STYLE);
        exStyle = GetWindowLongPtrW(about, GWL_EXSTYLE);
        const int ids[] = {IDC_ABOUT_AUTHOR,  IDC_ABOUT_CONTACT, IDC_ABOUT_SITE, IDC_ABOUT_LINK,
                           IDC_ABOUT_VERSION, IDC_ABOUT_DATE,    IDC_ABOUT_DATE2};
        for (int i = 0; i < 7; ++i)
            texts[i] = TextOf(GetDlgItem(about, ids[i]));
        LOGFONTW lf{};
        auto font = reinterpret_cast<HFONT>(SendDlgItemMessageW(about, IDC_ABOUT_LINK, WM_GETFONT, 0, 0));
        GetObjectW(font, sizeof(lf), &lf);
        linkUnderlined = lf.lfUnderline && lf.lfWeight >= FW_BOLD;
        okIsDefault = (GetWindowLongPtrW(GetDlgItem(about, IDOK), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        testing::SaveScreenshot(about, "about_window");
        UpdateWindow(about);
        HDC dc = GetDC(about);
        background = GetPixel(dc, 2, 2);
        ReleaseDC(about, dc);
        // Moved to a screen of twice the DPI.
        RECT suggested = outer;
        suggested.right += outer.right - outer.left;
        suggested.bottom += outer.bottom - outer.top;
        SendMessageW(about, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        GetWindowRect(GetDlgItem(about, IDOK), &ok);
        MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&ok), 2);
        GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(about, IDC_ABOUT_AUTHOR, WM_GETFONT, 0, 0)),
                   sizeof lf, &lf);
        fontHeight = lf.lfHeight;
        // Enter, as the user presses it, goes through the dialog's own loop.
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(GetFocus(), WM_KEYUP, VK_RETURN, 0);
    });

    EXPECT_FALSE(forcedClose);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(seenOwner, owner); // owned: no taskbar entry
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));

    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(client.right, MulDiv(5340, dpi, 1440));
    EXPECT_EQ(client.bottom, MulDiv(3180, dpi, 1440));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);

    EXPECT_EQ(texts[0], W(kAboutAuthor));
    EXPECT_EQ(texts[2], L"Сайт:");
    EXPECT_EQ(texts[3], W(kAboutSiteLink));
    EXPECT_EQ(texts[4], L"Версия: v1.1");
    EXPECT_EQ(texts[5], L"Дата: 22 сентября 2007 год");
    EXPECT_EQ(texts[6], L"1 августа 2015 год");
    EXPECT_TRUE(linkUnderlined);
    EXPECT_TRUE(okIsDefault);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(background, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ok.left, MulDiv(3840, 192, 1440));
    EXPECT_EQ(ok.bottom - ok.top, MulDiv(495, 192, 1440));
    EXPECT_EQ(fontHeight, -MulDiv(12, 192, 72));
}

TEST_F(AboutWindowTest, TheLinkShowsTheHourglassWhileItOpensTheSiteAndTheCloseBoxCloses) {
    HWND about = nullptr;
    HWND link = nullptr;
    // The pointer the window asks for over the link, as a mouse move there would show it.
    auto pointerOverLink = [&] {
        SendMessageW(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    HCURSOR before = nullptr, atOpen = nullptr, after = nullptr;
    shell.onOpen = [&] { atOpen = pointerOverLink(); };
    ShowAndRun([&](HWND window) {
        about = window;
        link = GetDlgItem(about, IDC_ABOUT_LINK);
        before = pointerOverLink();
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED),
                     reinterpret_cast<LPARAM>(link));
        after = pointerOverLink();
        PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    });

    EXPECT_FALSE(forcedClose);
    EXPECT_EQ(before, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(atOpen, LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(after, LoadCursorW(nullptr, IDC_HAND));
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].file, u"C:\\Prog\\0.html");
    EXPECT_NE(files.files[u"C:\\Prog\\0.html"].find("url=https://example.org/site/'"), std::string::npos);
}

} // namespace
} // namespace quillet
