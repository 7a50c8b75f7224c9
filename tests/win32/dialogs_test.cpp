// The About window, the find dialog and the system's Font, Open and Save As dialogs behind their
// ports, answered as a person does: what each adapter decides of their layout, colours, pointer,
// keys and the values handed back.

#include "editor/find/search.h"
#include "editor/win32/about_window_win32.h"
#include "editor/win32/file_dialogs_win32.h"
#include "editor/win32/find_dialog.h"
#include "editor/win32/font_dialog_win32.h"

#include "fakes/fakes.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing_win32::Answer;
using testing_win32::FontOf;
using testing_win32::PlaceOf;
using testing_win32::TextOf;

// Moved to a monitor of twice the DPI, as the system tells a window.
void DoubleTheDpi(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    r.right += r.right - r.left;
    r.bottom += r.bottom - r.top;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), LPARAM(&r));
}

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
    HCURSOR before = nullptr, atOpen = nullptr;
    f.shell.onOpen = [&] { atOpen = pointerOverLink(); };
    const int face[] = {COLOR_BTNFACE};
    const COLORREF usual[] = {GetSysColor(COLOR_BTNFACE)}, green[] = {RGB(20, 110, 60)};
    RECT outer{}, ok{};
    COLORREF pictureGround = 0, linkColour = 0;
    LOGFONTW font{};
    EXPECT_TRUE(Answer([&] { box.ShowModal(); },
                       {[&](HWND window) {
                            about = window;
                            link = GetDlgItem(about, IDC_ABOUT_LINK);
                            GetWindowRect(about, &outer);
                            SetSysColors(1, face, green);
                        },
                        [&](HWND) {
                            // The picture is drawn afresh on the new face colour.
                            RECT picture = PlaceOf(GetDlgItem(about, IDC_ABOUT_IMAGE));
                            HDC dc = GetDC(about);
                            pictureGround = GetPixel(dc, picture.left + 1, picture.top + 1);
                            SendMessageW(about, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(link));
                            linkColour = GetTextColor(dc);
                            ReleaseDC(about, dc);
                            SetSysColors(1, face, usual);
                            DoubleTheDpi(about);
                            ok = PlaceOf(GetDlgItem(about, IDOK));
                            font = FontOf(GetDlgItem(about, IDC_ABOUT_AUTHOR));
                            before = pointerOverLink();
                            SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED),
                                         LPARAM(link));
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
    EXPECT_EQ(atOpen, LoadCursorW(nullptr, IDC_WAIT)); // null unless the site was opened
}

// Keys as the user presses them: posted, so they pass through the dialog's own loop.
void Press(HWND target, UINT key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void Type(HWND target, std::wstring_view text) {
    for (wchar_t c : text)
        PostMessageW(target, WM_CHAR, c, 1);
}

class FindDialogTest : public ::testing::Test {
protected:
    FindDialogTest() { dialog.Attach(editor); }
    static HWND Item(HWND dialog, FindControl control) {
        return GetDlgItem(dialog, win32::FindDialogWin32::ControlId(control));
    }

    fakes::EditorWithFakes fakes; // all but the dialog itself
    win32::FindDialogWin32 dialog{GetModuleHandleW(nullptr)};
    Editor editor{{fakes.control, fakes.window, fakes.messages, fakes.settings, fakes.files, fakes.codec,
                   fakes.layouts, fakes.clipboard, fakes.fileDialogs, fakes.shell, fakes.about, dialog,
                   fakes.fontDialog}};
};

TEST_F(FindDialogTest, FindIsEnabledByTypingAndRescalesForTwiceTheDpi) {
    using enum FindControl;
    RECT outer{}, button{};
    bool enabledAtFirst = true, enabledAfterTyping = false;
    LOGFONTW font{};
    EXPECT_TRUE(Answer([&] { OnFind(editor); }, {[&](HWND d) {
                                                     GetWindowRect(d, &outer);
                                                     enabledAtFirst = IsWindowEnabled(Item(d, FindButton));
                                                     Type(GetFocus(), L"two");
                                                 },
                                                 [&](HWND d) {
                                                     enabledAfterTyping =
                                                         IsWindowEnabled(Item(d, FindButton));
                                                     DoubleTheDpi(d);
                                                     button = PlaceOf(Item(d, FindButton));
                                                     font = FontOf(Item(d, FindButton));
                                                     PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
                                                 }}))
        << "the close box closes";
    EXPECT_NEAR(outer.left + outer.right, GetSystemMetrics(SM_CXSCREEN), 2);
    EXPECT_NEAR(outer.top + outer.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
    EXPECT_FALSE(enabledAtFirst);
    EXPECT_TRUE(enabledAfterTyping);
    EXPECT_EQ(button.left, 4440 * 192 / 1440); // twips at the new DPI
    EXPECT_EQ(button.right - button.left, 1470 * 192 / 1440);
    EXPECT_EQ(font.lfHeight, -825 * 192 / 7200); // 8.25 points
}

TEST_F(FindDialogTest, ReplaceListsTheHistoryAndEscapeClosesOnlyFromAField) {
    using enum FindControl;
    editor.search.history = {u"да", u"нет"};
    int listed = 0;
    bool replaceShown = false, openAfterEscapeOnCheckBox = false;
    EXPECT_TRUE(Answer([&] { OnReplace(editor); },
                       {[&](HWND d) {
                            listed = int(SendMessageW(Item(d, FindField), CB_GETCOUNT, 0, 0));
                            replaceShown = IsWindowVisible(Item(d, ReplaceField));
                            SetFocus(Item(d, MatchCase));
                            Press(GetFocus(), VK_ESCAPE);
                        },
                        [&](HWND d) {
                            openAfterEscapeOnCheckBox = IsWindowVisible(d);
                            // The edit box inside the combo box, where the user types.
                            SetFocus(FindWindowExW(Item(d, ReplaceField), nullptr, L"Edit", nullptr));
                            Press(GetFocus(), VK_ESCAPE);
                        }}));
    EXPECT_EQ(listed, 2);
    EXPECT_TRUE(replaceShown);
    EXPECT_TRUE(openAfterEscapeOnCheckBox);
}

TEST(FontDialogWin32Test, HandsBackTheFontItStartedFromOrNothingWhenCancelledAndTakesALongStoredName) {
    win32::FontDialogWin32 dialogs;
    auto answer = [&](FontSpec start, int button) {
        std::optional<FontSpec> chosen;
        EXPECT_TRUE(Answer([&] { chosen = dialogs.PickFont(start); },
                           {[=](HWND d) { PostMessageW(d, WM_COMMAND, button, 0); }}));
        return chosen;
    };
    std::optional<FontSpec> chosen = answer({u"Arial", 12, true, true}, IDOK);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(std::make_tuple(chosen->size, chosen->bold, chosen->italic), std::make_tuple(12, true, true));
    EXPECT_FALSE(chosen->name.empty()); // Arial, or whatever the system made of it
    EXPECT_FALSE(answer({std::u16string(50, u'Ж'), 10, false, false}, IDCANCEL).has_value());
}

constexpr int kFileNameBox = 1148; // of the common dialogs; a combo box that answers for its edit

TEST(FileDialogsWin32Test, SaveAsStartsFromTheNameAndReturnsAUnicodeChoiceAndATooLongNameIsLeftOut) {
    testing_win32::TempDir dir;
    win32::FileDialogsWin32 dialogs(GetModuleHandleW(nullptr));
    std::wstring startName;
    PickedFile picked;
    EXPECT_TRUE(Answer(
        [&] { picked = dialogs.PickFile(FileDialogKind::Save, dir.Path16(L"старое.txt"), dir.Path16()); },
        {[&](HWND d) {
            startName = TextOf(GetDlgItem(d, kFileNameBox));
            SetWindowTextW(GetDlgItem(d, kFileNameBox), dir.Path(L"письмо 日本").c_str());
            PostMessageW(d, WM_COMMAND, IDOK, 0);
        }}));
    EXPECT_NE(startName.find(L"старое.txt"), std::wstring::npos);
    EXPECT_EQ(picked.result, FileDialogResult::Accepted);
    EXPECT_EQ(picked.path, dir.Path16(L"письмо 日本"));

    // One character more than the dialog's buffer holds with its NUL.
    std::u16string tooLong = u"C:\\" + std::u16string(kMaxPickedPath - 2, u'д');
    EXPECT_TRUE(
        Answer([&] { picked = dialogs.PickFile(FileDialogKind::Open, tooLong, dir.Path16()); }, {[&](HWND d) {
                   startName = TextOf(GetDlgItem(d, kFileNameBox));
                   PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
               }}));
    EXPECT_EQ(startName, L"");
    EXPECT_EQ(picked.result, FileDialogResult::Cancelled);
}

} // namespace
} // namespace quillet
