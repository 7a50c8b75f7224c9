// The system's Font, Open and Save As dialogs behind their ports, answered as a person does.

#include "editor/win32/file_dialogs_win32.h"
#include "editor/win32/font_dialog_win32.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet::win32 {
namespace {

using testing_win32::Answer;

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// The file name box: an edit in the combo box 1148 (inside the combo box of a ComboBoxEx), or an
// edit of its own.
HWND NameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, 1148);
    if (!box)
        return GetDlgItem(dialog, 1152);
    HWND inner = FindWindowExW(box, nullptr, L"ComboBox", nullptr);
    return FindWindowExW(inner ? inner : box, nullptr, L"Edit", nullptr);
}

TEST(FontDialogWin32Test, HandsBackTheFontItStartedFromOrNothingWhenCancelledAndTakesALongStoredName) {
    FontDialogWin32 dialogs;
    std::optional<FontSpec> chosen;
    EXPECT_TRUE(Answer(
        [&] {
            chosen = dialogs.PickFont({u"Arial", 12, true, true});
        },
        {[](HWND d) { PostMessageW(d, WM_COMMAND, IDOK, 0); }}));
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->size, 12);
    EXPECT_TRUE(chosen->bold);
    EXPECT_TRUE(chosen->italic);
    EXPECT_FALSE(chosen->name.empty()); // Arial, or whatever the system made of it

    EXPECT_TRUE(Answer(
        [&] {
            chosen = dialogs.PickFont({std::u16string(50, u'Ж'), 10, false, false});
        },
        {[](HWND d) { PostMessageW(d, WM_COMMAND, IDCANCEL, 0); }}));
    EXPECT_FALSE(chosen.has_value());
}

TEST(FileDialogsWin32Test, SaveAsStartsFromTheNameAndReturnsAUnicodeChoiceAndATooLongNameIsLeftOut) {
    testing_win32::TempDir dir;
    FileDialogsWin32 dialogs(GetModuleHandleW(nullptr));
    std::wstring startName, type;
    PickedFile picked;
    EXPECT_TRUE(Answer(
        [&] { picked = dialogs.PickFile(FileDialogKind::Save, dir.Path16(L"старое.txt"), dir.Path16()); },
        {[&](HWND d) {
            startName = TextOf(NameBox(d));
            type = TextOf(GetDlgItem(d, 1136));
            SetWindowTextW(NameBox(d), dir.Path(L"письмо 日本").c_str());
            PostMessageW(d, WM_COMMAND, IDOK, 0);
        }}));
    EXPECT_NE(startName.find(L"старое.txt"), std::wstring::npos);
    EXPECT_NE(type.find(L"Текстовый файл"), std::wstring::npos);
    EXPECT_EQ(picked.result, FileDialogResult::Accepted);
    EXPECT_EQ(picked.path, dir.Path16(L"письмо 日本"));

    // One character more than the dialog's buffer holds with its NUL.
    std::u16string tooLong = u"C:\\" + std::u16string(kMaxPickedPath - 2, u'д');
    EXPECT_TRUE(
        Answer([&] { picked = dialogs.PickFile(FileDialogKind::Open, tooLong, dir.Path16()); }, {[&](HWND d) {
                   startName = TextOf(NameBox(d));
                   PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
               }}));
    EXPECT_EQ(startName, L"");
    EXPECT_EQ(picked.result, FileDialogResult::Cancelled);
}

} // namespace
} // namespace quillet::win32
