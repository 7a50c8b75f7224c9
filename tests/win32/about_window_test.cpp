// The About window: centred, in the scheme's colours of the moment, rescaled for its monitor's
// DPI, with the hand over the link and the hourglass while the site opens.

#include "editor/win32/about_window_win32.h"

#include "fakes/editor_with_fakes.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(AboutWindowTest, CentredInTheSchemesColoursRescaledForItsDpiWithTheHourglassWhileTheSiteOpens) {
    fakes::EditorWithFakes f;
    f.ed.doc.programFolder = u"C:\\Prog\\";
    AboutBoxWin32 box(GetModuleHandleW(nullptr));
    box.Attach(f.ed);
    HWND about = nullptr, link = nullptr;
    auto pointerOverLink = [&] { // as a mouse move there asks for it
        SendMessageW(about, WM_SETCURSOR, WPARAM(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    HCURSOR before = nullptr, atOpen = nullptr, after = nullptr;
    f.shell.onOpen = [&] { atOpen = pointerOverLink(); };
    const int face[] = {COLOR_BTNFACE};
    const COLORREF usual[] = {GetSysColor(COLOR_BTNFACE)}, green[] = {RGB(20, 110, 60)};
    RECT outer{}, picture{}, ok{};
    COLORREF pictureGround = 0, linkColour = 0;
    LOGFONTW font{};
    EXPECT_TRUE(testing_win32::Answer(
        [&] { box.ShowModal(); },
        {[&](HWND window) {
             about = window;
             link = GetDlgItem(about, IDC_ABOUT_LINK);
             GetWindowRect(about, &outer);
             SetSysColors(1, face, green);
         },
         [&](HWND) {
             // The picture is drawn afresh on the new face colour.
             GetWindowRect(GetDlgItem(about, IDC_ABOUT_IMAGE), &picture);
             HDC screen = GetDC(nullptr);
             pictureGround = GetPixel(screen, picture.left + 1, picture.top + 1);
             ReleaseDC(nullptr, screen);
             HDC dc = GetDC(link);
             SendMessageW(about, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(link));
             linkColour = GetTextColor(dc);
             ReleaseDC(link, dc);
             SetSysColors(1, face, usual);

             RECT twice{0, 0, 2 * (outer.right - outer.left), 2 * (outer.bottom - outer.top)};
             SendMessageW(about, WM_DPICHANGED, MAKEWPARAM(192, 192), LPARAM(&twice));
             GetWindowRect(GetDlgItem(about, IDOK), &ok);
             MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&ok), 2);
             GetObjectW(HFONT(SendDlgItemMessageW(about, IDC_ABOUT_AUTHOR, WM_GETFONT, 0, 0)), sizeof font,
                        &font);

             before = pointerOverLink();
             SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED), LPARAM(link));
             after = pointerOverLink();
             PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
         }}));

    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(outer.left + outer.right, work.left + work.right, 2);
    EXPECT_NEAR(outer.top + outer.bottom, work.top + work.bottom, 2);
    EXPECT_EQ(pictureGround, green[0]);
    EXPECT_EQ(linkColour, GetSysColor(COLOR_HOTLIGHT));
    EXPECT_EQ(ok.left, 3840 * 192 / 1440); // twips at the new DPI
    EXPECT_EQ(ok.bottom - ok.top, 495 * 192 / 1440);
    EXPECT_EQ(font.lfHeight, -12 * 192 / 72); // 12 points
    EXPECT_EQ(before, LoadCursorW(nullptr, IDC_HAND));
    EXPECT_EQ(atOpen, LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_EQ(after, before);
    EXPECT_EQ(f.shell.opened.size(), 1u);
}

} // namespace
} // namespace quillet
