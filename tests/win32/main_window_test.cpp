// The real main window in-process: what another process cannot read under Wine (the menu bar's
// captions, shortcuts, separators, check marks and enabled states), its size and placement, and
// the adapters behind the start-up routine.

#include "editor/app/startup.h"
#include "editor/edit/keyboard_layout.h"
#include "editor/win32/keyboard_layouts_win32.h"
#include "editor/win32/menu_bar.h"
#include "editor/win32/message_boxes_win32.h"
#include "editor/win32/settings_registry.h"
#include "win32/main_window_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillet {
namespace {
using testing_win32::WindowCaption;

struct ExpectedItem {
    std::wstring text; // caption and shown shortcut as the menu holds them; empty: separator
};

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t buffer[256] = {};
    GetMenuStringW(menu, position, buffer, 256, MF_BYPOSITION);
    return buffer;
}

bool IsSeparator(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return (info.fType & MFT_SEPARATOR) != 0;
}

// Handles what is waiting; true when the program was told to end.
bool Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            return true;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return false;
}

// The text control's outer size, scroll bars included.
SIZE OuterSize(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

// A drop as Explorer hands it over: a DROPFILES header, then each path ended, and one more end.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    size_t chars = 1;
    for (const auto& path : paths)
        chars += path.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& path : paths)
        out = std::copy(path.begin(), path.end(), out) + 1;
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

COLORREF PixelOf(HWND hwnd, int x, int y) {
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

using MainWindowTest = testing_win32::MainWindowFixture;

TEST_F(MainWindowTest, TheMenuBarHoldsEveryMenuAndItemExactlyInOrder) {
    ASSERT_TRUE(created);
    HMENU bar = GetMenu(frame.Handle());
    ASSERT_NE(bar, nullptr);
    const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> expected = {
        {L"Файл",
         {L"&Новый\tCtrl+N", L"&Открыть...\tCtrl+O", L"&Сохранить\tCtrl+S", L"Сохранить к&ак..", L"",
          L"Выход"}},
        {L"Правка",
         {L"Отменить", L"", L"Вырезать\tCtrl+X", L"Копировать\tCtrl+C", L"Вставить", L"Удалить\tDel",
          L"Выделить всё\tCtrl+A", L"", L"Найти\tCtrl+F", L"Найти далее…\tF3", L"Заменить\tCtrl+H"}},
        {L"Формат", {L"Перенос по словам", L"Шрифт…", L"Раскладка клавиатуры\tF9"}},
        {L"Справка", {L"Вызов справки\tF1", L"О программе", L"Список моих программ"}},
    };
    ASSERT_EQ(GetMenuItemCount(bar), int(expected.size()));
    for (UINT m = 0; m < expected.size(); ++m) {
        EXPECT_EQ(MenuText(bar, m), expected[m].first);
        HMENU popup = GetSubMenu(bar, int(m));
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), int(expected[m].second.size())) << m;
        for (UINT i = 0; i < expected[m].second.size(); ++i) {
            const std::wstring& want = expected[m].second[i];
            if (want.empty())
                EXPECT_TRUE(IsSeparator(popup, i)) << m << "/" << i;
            else
                EXPECT_EQ(MenuText(popup, i), want) << m << "/" << i;
        }
    }
    // Word wrap is checked when the window is created, and the control wraps.
    EXPECT_TRUE(MenuChecked(MenuItem::WordWrap));
    EXPECT_TRUE(view.WordWrap());
    EXPECT_EQ(MenuCaption(MenuItem::KeyboardLayout), u"Раскладка клавиатуры");
    EXPECT_EQ(MenuCaption(MenuItem::EditMenu), u"Правка");
    EXPECT_EQ(WindowCaption(frame.Handle()), u"Квиллет");
}

TEST_F(MainWindowTest, EveryCommandIsEnabledAndItsShortcutReachesIt) {
    ASSERT_TRUE(created);
    for (MenuItem item : {MenuItem::FileMenu, MenuItem::New, MenuItem::Exit, MenuItem::FindNext,
                          MenuItem::Font, MenuItem::KeyboardLayout, MenuItem::MyPrograms})
        EXPECT_TRUE(MenuEnabled(item)) << int(item);

    // F9 reaches the layout command through the accelerators; with the ring of fakes the
    // caption follows the switch.
    MSG f9{frame.Handle(), WM_KEYDOWN, VK_F9, 0x00430001, 0, {}};
    ASSERT_TRUE(frame.TranslateShortcut(f9));
    EXPECT_EQ(layouts.switches, 1);
    EXPECT_EQ(MenuCaption(MenuItem::KeyboardLayout), u"Раскладка клавиатуры английская");
    // Ctrl+C follows the selection of the moment: it is left to the text control's key rule.
    MSG ctrlC{frame.Handle(), WM_KEYDOWN, 'C', 0x002E0001, 0, {}};
    EXPECT_FALSE(frame.TranslateShortcut(ctrlC));
}

TEST_F(MainWindowTest, StartsCentredWithTheBuiltInClientSizeAndKeepsStoredSizesOnScreen) {
    ASSERT_TRUE(created);
    RunStartup(ed, u"C:\\Quillet", u"");
    EXPECT_TRUE(IsWindowVisible(frame.Handle()));
    int onePixel = 1440 / frame.Dpi() + 1;
    EXPECT_NEAR(frame.ClientWidth(), 7230, onePixel);
    EXPECT_NEAR(frame.ClientHeight(), 5010, onePixel);
    RECT window{}, work{};
    GetWindowRect(frame.Handle(), &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR(window.left - work.left, work.right - window.right, 2);
    EXPECT_NEAR(window.top - work.top, work.bottom - window.bottom, 2);
    // The text control covers the client area.
    RECT client{};
    GetClientRect(frame.Handle(), &client);
    EXPECT_NEAR(OuterSize(view.Handle()).cx, client.right, 1);
    EXPECT_NEAR(OuterSize(view.Handle()).cy, client.bottom, 1);
    // First run: wrap off, the layout switched once and named.
    EXPECT_FALSE(MenuChecked(MenuItem::WordWrap));
    EXPECT_FALSE(view.WordWrap());
    EXPECT_EQ(MenuCaption(MenuItem::KeyboardLayout), u"Раскладка клавиатуры английская");
    EXPECT_EQ(ed.doc.normalWidth, frame.OuterWidth());

    // A size beyond the work area, as another screen may have left it, stays on this one.
    frame.SetOuterWidth(frame.WorkAreaWidth());
    frame.SetOuterHeight(frame.WorkAreaHeight());
    GetWindowRect(frame.Handle(), &window);
    EXPECT_GE(window.left, work.left);
    EXPECT_LE(window.right, work.right);
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.bottom, work.bottom);

    // A stored size is taken in twips and becomes the remembered normal size.
    frame.SetOuterWidth(8000);
    frame.SetOuterHeight(6000);
    EXPECT_NEAR(ed.doc.normalWidth, 8000, onePixel);
    EXPECT_NEAR(ed.doc.normalHeight, 6000, onePixel);
    GetClientRect(frame.Handle(), &client);
    EXPECT_NEAR(OuterSize(view.Handle()).cx, client.right, 1);
}

TEST_F(MainWindowTest, ClosingAModifiedDocumentKeepsTheWindowAndAnUnmodifiedOneWritesTheSettings) {
    ASSERT_TRUE(created);
    RunStartup(ed, u"C:\\Quillet", u"");
    view.SetSelText(u"правка");
    ASSERT_TRUE(ed.doc.modified);
    settings.writes.clear();
    SendMessageW(frame.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame.Handle()));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(settings.writes.empty());

    // Logging off asks the same way and may refuse.
    EXPECT_EQ(SendMessageW(frame.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);

    ed.doc.modified = false;
    HWND hwnd = frame.Handle();
    OnExit(ed);          // posts the close, as the close box does
    EXPECT_TRUE(Pump()); // the program would end
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(settings.writes.size(), 9u);
    EXPECT_EQ(settings.Get(u"WindowState"), u"0");
}

TEST_F(MainWindowTest, TheFirstOfTheDroppedFilesOpensUnlessAModalWindowIsUp) {
    ASSERT_TRUE(created);
    RunStartup(ed, u"C:\\Quillet", u"");
    EXPECT_TRUE(GetWindowLongPtrW(frame.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    files.files[u"C:\\папка\\письмо.txt"] = "\xcf\xf0\xe8\xe2\xe5\xf2";
    files.files[u"C:\\другое.txt"] = "other";
    EnableWindow(frame.Handle(), FALSE); // as the find dialog leaves its owner
    HDROP drop = MakeDrop({L"C:\\другое.txt"});
    SendMessageW(frame.Handle(), WM_DROPFILES, WPARAM(drop), 0);
    EXPECT_EQ(GlobalSize(drop), 0u); // finished with all the same
    EXPECT_EQ(view.Text(), u"");
    EnableWindow(frame.Handle(), TRUE);
    drop = MakeDrop({L"C:\\папка\\письмо.txt", L"C:\\другое.txt"});
    SendMessageW(frame.Handle(), WM_DROPFILES, WPARAM(drop), 0);
    EXPECT_EQ(GlobalSize(drop), 0u);
    EXPECT_EQ(view.Text(), u"Привет");
    EXPECT_EQ(WindowCaption(frame.Handle()), u" письмо.txt - Квиллет");
}

TEST_F(MainWindowTest, TheViewPaintsInTheSystemColoursOfTheMomentAndAgainWhenTheyChange) {
    ASSERT_TRUE(created);
    RunStartup(ed, u"C:\\Quillet", u"");
    view.SetText(u"\r\n");
    view.SetSelLength(2);
    SetFocus(nullptr); // unfocused, the selection greys...
    const int elements[] = {COLOR_WINDOW, COLOR_BTNFACE};
    const COLORREF before[] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_BTNFACE)};
    const COLORREF green = RGB(20, 110, 60);
    const COLORREF chosen[] = {green, green}; // ...unless grey is the background, as in high contrast
    ASSERT_TRUE(SetSysColors(2, elements, chosen));
    Pump();
    RECT client{};
    GetClientRect(view.Handle(), &client);
    const POINT room{client.right - 4, client.bottom - 4}; // below the text
    EXPECT_EQ(PixelOf(view.Handle(), room.x, room.y), green);
    EXPECT_EQ(PixelOf(view.Handle(), 3, view.LineHeight() / 2), GetSysColor(COLOR_HIGHLIGHT)); // the break
    for (UINT message : {WM_SYSCOLORCHANGE, WM_SETTINGCHANGE}) {
        // Whatever covered the view goes once the main window hears of a change.
        HDC dc = GetDC(view.Handle());
        PatBlt(dc, 0, 0, client.right, client.bottom, BLACKNESS);
        ReleaseDC(view.Handle(), dc);
        SendMessageW(frame.Handle(), message, 0, 0);
        Pump();
        EXPECT_EQ(PixelOf(view.Handle(), room.x, room.y), green) << message;
    }
    SetSysColors(2, elements, before);
}

TEST(RegistrySettings, KeepsStringValuesUnderTheUsersSoftwareKey) {
    win32::RegistrySettings store;
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletTest");
    EXPECT_EQ(store.Read(u"QuilletTest", u"INI", u"FontName"), u"");
    store.Write(u"QuilletTest", u"INI", u"FontName", u"Times New Roman");
    store.Write(u"QuilletTest", u"INI", u"PerenosSlov", u"");
    store.Write(u"QuilletTest", u"INI", u"Caption", u"Квиллет");
    EXPECT_EQ(store.Read(u"QuilletTest", u"INI", u"FontName"), u"Times New Roman");
    EXPECT_EQ(store.Read(u"QuilletTest", u"INI", u"Caption"), u"Квиллет");

    wchar_t buffer[64] = {};
    DWORD size = sizeof(buffer);
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\QuilletTest\\INI", L"PerenosSlov", RRF_RT_ANY,
                           &type, buffer, &size),
              ERROR_SUCCESS); // false is written as an empty text, not left out
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(std::wstring(buffer), L"");
    store.Write(u"QuilletTest", u"INI", u"FontName", u"Arial");
    EXPECT_EQ(store.Read(u"QuilletTest", u"INI", u"FontName"), u"Arial");
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuilletTest");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\QuilletTest");
}

TEST(MessageBoxes, MapIconsButtonsAndThePreselectedButtonToTheSystemStyle) {
    using win32::MessageBoxFlags;
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok}),
              UINT(MB_ICONERROR | MB_OK | MB_DEFBUTTON1));
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok}),
              UINT(MB_ICONINFORMATION));
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Warning, MessageButtons::YesNoCancel, MessageAnswer::Yes}), 51u);
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Warning, MessageButtons::YesNo, MessageAnswer::No}),
              UINT(MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2));
}

TEST(KeyboardLayouts, NameTheActiveLayoutWithEightHexDigits) {
    win32::KeyboardLayoutsWin32 layouts;
    std::string name = layouts.ActiveLayoutName();
    ASSERT_EQ(name.size(), 8u) << name;
    EXPECT_EQ(name.find_first_not_of("0123456789ABCDEFabcdef"), std::string::npos) << name;
    // The Russian locale the tests run under gives the Russian layout.
    EXPECT_EQ(LayoutCodeFromName(name), 419) << name;
}

} // namespace
} // namespace quillet
