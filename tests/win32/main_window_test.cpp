// The real main window and text view in-process, on fakes: its size and place, its menu bar and
// shortcuts (other processes cannot read them under Wine), closing, dropped files and the scheme's
// colours.

#include "editor/app/main_window_events.h"
#include "editor/app/startup.h"
#include "editor/win32/main_window.h"
#include "editor/win32/menu_bar.h"
#include "editor/win32/text_view.h"

#include "fakes/fakes.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>

namespace quillet {
namespace {

using namespace std::literals;
using testing_win32::Pump;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame.Create(GetModuleHandleW(nullptr)));
        view.SetEvents(&events);
        frame.Attach(ed);
    }
    ~MainWindowTest() override { view.SetEvents(nullptr); }

    UINT MenuState(MenuItem item) {
        return GetMenuState(GetMenu(frame.Handle()), win32::CommandId(item), MF_BYCOMMAND);
    }
    std::wstring MenuText(MenuItem item) {
        wchar_t text[128] = {};
        GetMenuStringW(GetMenu(frame.Handle()), win32::CommandId(item), text, 128, MF_BYCOMMAND);
        return text;
    }
    fakes::EditorWithFakes f; // the ports but the window and the view
    win32::TextView view{f.clipboard};
    win32::MainFrame frame{view};
    Editor ed{{view, frame, f.messages, f.settings, f.files, f.codec, f.layouts, f.clipboard, f.fileDialogs,
               f.shell, f.about, f.findDialog, f.fontDialog}};
    TextEvents events{ed};
};

TEST_F(MainWindowTest, OpensWrappingCentredAtTheDesignedSizeAndKeepsStoredSizesOnTheScreen) {
    EXPECT_TRUE(MenuState(MenuItem::WordWrap) & MF_CHECKED);
    EXPECT_TRUE(view.WordWrap());
    RunStartup(ed, u"C:\\Quillet", u"");
    const int onePixel = 1440 / frame.Dpi() + 1;
    EXPECT_NEAR(frame.ClientWidth(), 7230, onePixel);
    EXPECT_NEAR(frame.ClientHeight(), 5010, onePixel);
    RECT window{}, work{}, client{}, text{};
    GetWindowRect(frame.Handle(), &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left - work.left, work.right - window.right, 2);
    EXPECT_NEAR(window.top - work.top, work.bottom - window.bottom, 2);

    // Larger than the work area, as another screen may have left it: moved back onto this one.
    frame.SetOuterWidth(frame.WorkAreaWidth());
    frame.SetOuterHeight(frame.WorkAreaHeight());
    GetWindowRect(frame.Handle(), &window);
    EXPECT_TRUE(window.left >= work.left && window.right <= work.right && window.top >= work.top &&
                window.bottom <= work.bottom);

    // A stored size in twips becomes the remembered normal size; the text fills the client area.
    frame.SetOuterWidth(8000);
    frame.SetOuterHeight(6000);
    EXPECT_NEAR(ed.doc.normalWidth, 8000, onePixel);
    EXPECT_NEAR(ed.doc.normalHeight, 6000, onePixel);
    GetClientRect(frame.Handle(), &client);
    GetWindowRect(view.Handle(), &text);
    EXPECT_EQ(text.right - text.left, client.right);
    EXPECT_EQ(text.bottom - text.top, client.bottom);

    // Maximised, a new size becomes the normal one the window comes back to.
    frame.Maximize();
    EXPECT_EQ(frame.State(), WindowState::Maximized);
    frame.SetOuterWidth(7000);
    EXPECT_EQ(frame.State(), WindowState::Maximized);
    ShowWindow(frame.Handle(), SW_RESTORE);
    EXPECT_NEAR(frame.OuterWidth(), 7000, onePixel);
}

TEST_F(MainWindowTest, ShortcutsAndTheEditMenuReachTheCoreAndItsCaptionsKeepTheirShortcuts) {
    // F9 is an accelerator; the caption the layout command sets keeps the shortcut shown.
    MSG f9{frame.Handle(), WM_KEYDOWN, VK_F9, 0x00430001, 0, {}};
    ASSERT_TRUE(frame.TranslateShortcut(f9));
    EXPECT_EQ(f.layouts.switches, 1);
    EXPECT_EQ(MenuText(MenuItem::KeyboardLayout), L"Раскладка клавиатуры английская\tF9");

    // The Edit menu is set up as it opens.
    view.SetText(u"один два");
    HMENU edit = GetSubMenu(GetMenu(frame.Handle()), win32::MenuPosition(MenuItem::EditMenu));
    SendMessageW(frame.Handle(), WM_INITMENUPOPUP, WPARAM(edit), 1);
    EXPECT_TRUE(MenuState(MenuItem::Copy) & MF_GRAYED);
    view.SetSelStart(0);
    view.SetSelLength(4);
    SendMessageW(frame.Handle(), WM_INITMENUPOPUP, WPARAM(edit), 1);
    EXPECT_FALSE(MenuState(MenuItem::Copy) & MF_GRAYED);

    // Ctrl+C follows the selection of the moment, so it is left to the key rule: no accelerator.
    testing_win32::HoldKeys(false, true);
    MSG ctrlC{view.Handle(), WM_KEYDOWN, 'C', 1, 0, {}};
    EXPECT_FALSE(frame.TranslateShortcut(ctrlC));
    testing_win32::HoldKeys(false, false);
}

TEST_F(MainWindowTest, ClosingAsksTheCoreWhichMayKeepTheWindowAndLoggingOffAsksTheSame) {
    RunStartup(ed, u"C:\\Quillet", u"");
    view.SetSelText(u"правка");
    f.messages.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    SendMessageW(frame.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame.Handle()));
    EXPECT_EQ(SendMessageW(frame.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_EQ(f.messages.shown.size(), 2u);
}

// A drop as Explorer hands it over: a DROPFILES header, then the paths, each ended, and one more end.
HDROP MakeDrop(std::wstring endedPaths) {
    endedPaths += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + endedPaths.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    *header = {sizeof(DROPFILES), {}, FALSE, TRUE};
    std::copy(endedPaths.begin(), endedPaths.end(), reinterpret_cast<wchar_t*>(header + 1));
    GlobalUnlock(memory);
    return HDROP(memory);
}

TEST_F(MainWindowTest, TheFirstOfTheDroppedFilesOpensUnlessAModalWindowIsUp) {
    EXPECT_TRUE(GetWindowLongPtrW(frame.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    f.files.files[u"C:\\папка\\письмо.txt"] = "\xcf\xf0\xe8\xe2\xe5\xf2";
    f.files.files[u"C:\\другое.txt"] = "other";
    EnableWindow(frame.Handle(), FALSE); // as a modal window leaves its owner
    HDROP drop = MakeDrop(L"C:\\другое.txt\0"s);
    SendMessageW(frame.Handle(), WM_DROPFILES, WPARAM(drop), 0);
    EXPECT_EQ(GlobalSize(drop), 0u) << "finished with all the same";
    EXPECT_EQ(view.Text(), u"");
    EnableWindow(frame.Handle(), TRUE);
    SendMessageW(frame.Handle(), WM_DROPFILES, WPARAM(MakeDrop(L"C:\\папка\\письмо.txt\0C:\\другое.txt\0"s)),
                 0);
    EXPECT_EQ(view.Text(), u"Привет");
}

TEST_F(MainWindowTest, TheViewPaintsInTheSchemesColoursOfTheMomentAndAgainWhenTheyChange) {
    RunStartup(ed, u"C:\\Quillet", u"");
    view.SetText(u"\r\n");
    view.SetSelLength(2);
    SetFocus(nullptr); // unfocused, the selection greys...
    const int elements[] = {COLOR_WINDOW, COLOR_BTNFACE};
    const COLORREF usual[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_BTNFACE)};
    const COLORREF green = RGB(20, 110, 60), chosen[] = {green, green}; // ...unless grey is the ground
    ASSERT_TRUE(SetSysColors(2, elements, chosen));
    Pump();
    RECT client{};
    GetClientRect(view.Handle(), &client);
    auto pixel = [&](int x, int y) {
        HDC dc = GetDC(view.Handle());
        COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(view.Handle(), dc);
        return colour;
    };
    EXPECT_EQ(pixel(client.right - 4, client.bottom - 4), green);             // below the text
    EXPECT_EQ(pixel(3, view.LineHeight() / 2), GetSysColor(COLOR_HIGHLIGHT)); // the selected break
    for (UINT message : {WM_SYSCOLORCHANGE, WM_SETTINGCHANGE}) {
        // Whatever covered the view goes once the main window hears of a change.
        HDC dc = GetDC(view.Handle());
        PatBlt(dc, 0, 0, client.right, client.bottom, BLACKNESS);
        ReleaseDC(view.Handle(), dc);
        SendMessageW(frame.Handle(), message, 0, 0);
        Pump();
        EXPECT_EQ(pixel(client.right - 4, client.bottom - 4), green) << message;
    }
    SetSysColors(2, elements, usual);
}

} // namespace
} // namespace quillet
