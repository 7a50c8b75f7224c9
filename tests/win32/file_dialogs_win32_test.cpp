// The common Open and Save As dialogs, answered the way a person would: type a name and press OK,
// or cancel.

#include "editor/win32/file_dialogs_win32.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace quillet::win32 {
namespace {

using testing_win32::TempDir;

constexpr int kFileNameBox = 1148; // the file-name combo box of the common dialogs
constexpr int kFileTypeBox = 1136;

BOOL CALLBACK IsOwnDialog(HWND hwnd, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (pid == GetCurrentProcessId() && std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwnDialog() {
    HWND found = nullptr;
    EnumWindows(IsOwnDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

BOOL CALLBACK IsEdit(HWND hwnd, LPARAM param) {
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (std::wstring(cls) == L"Edit") {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindEdit(HWND parent) {
    HWND found = nullptr;
    EnumChildWindows(parent, IsEdit, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t text[512] = {};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &result);
    return text;
}

// What the person at the dialog saw, and how they answered.
struct Seen {
    bool shown = false;
    std::wstring name;
    std::wstring type;
};

// Answers the next dialog of this process from another thread: types name and presses OK, or
// cancels when name is empty.
std::thread Answer(Seen& seen, std::wstring name) {
    return std::thread([&seen, name] {
        HWND dialog = nullptr;
        for (int i = 0; i < 300 && !dialog; ++i) {
            Sleep(50);
            dialog = FindOwnDialog();
        }
        if (!dialog)
            return;
        Sleep(200); // let the dialog finish filling itself in
        seen.shown = true;
        HWND box = GetDlgItem(dialog, kFileNameBox);
        HWND edit = box ? FindEdit(box) : nullptr;
        if (!edit)
            edit = GetDlgItem(dialog, 1152); // an edit box in place of the combo box
        seen.name = edit ? TextOf(edit) : L"<no name box>";
        seen.type = TextOf(GetDlgItem(dialog, kFileTypeBox));
        if (name.empty()) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        DWORD_PTR result = 0;
        SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()), SMTO_ABORTIFHUNG,
                            5000, &result);
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST(FileDialogsWin32Test, SaveAsStartsWithTheNameInTheFolderAndReturnsAUnicodeChoice) {
    TempDir dir;
    FileDialogsWin32 dialogs(GetModuleHandleW(nullptr));
    Seen seen;
    std::thread person = Answer(seen, dir.Path(L"письмо 日本"));
    PickedFile picked = dialogs.PickFile(FileDialogKind::Save, dir.Path16(L"старое.txt"), dir.Path16());
    person.join();

    ASSERT_TRUE(seen.shown);
    EXPECT_NE(seen.name.find(L"старое.txt"), std::wstring::npos)
        << std::string(seen.name.begin(), seen.name.end());
    EXPECT_NE(seen.type.find(L"Текстовый файл"), std::wstring::npos);
    ASSERT_EQ(picked.result, FileDialogResult::Accepted);
    EXPECT_EQ(picked.path, dir.Path16(L"письмо 日本"));
}

TEST(FileDialogsWin32Test, ACancelledOpenDialogReportsNoChoiceAndANameTooLongIsLeftOut) {
    TempDir dir;
    FileDialogsWin32 dialogs(GetModuleHandleW(nullptr));
    Seen seen;
    std::thread person = Answer(seen, L"");
    // One character more than the dialog's buffer holds with its NUL.
    std::u16string tooLong = u"C:\\" + std::u16string(kMaxPickedPath - 2, u'д');
    PickedFile picked = dialogs.PickFile(FileDialogKind::Open, tooLong, dir.Path16());
    person.join();
    EXPECT_EQ(picked.result, FileDialogResult::Cancelled);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.name, L"");
    EXPECT_EQ(picked.path, u"");
}

} // namespace
} // namespace quillet::win32
