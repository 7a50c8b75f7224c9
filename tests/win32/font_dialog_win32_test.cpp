#include "editor/win32/font_dialog_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

namespace quillet::win32 {
namespace {

// Plays the user inside ChooseFontW's own modal loop: a thread timer finds the dialog owned by
// our window and runs one step on it. A dialog that stays up is closed after a while so that a
// fault fails the test instead of hanging it.
class FontDialogWin32Test : public ::testing::Test {
protected:
    FontDialogWin32Test() {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        dialogs.SetOwner(owner);
        current = this;
    }
    ~FontDialogWin32Test() override {
        if (timer)
            KillTimer(nullptr, timer);
        DestroyWindow(owner);
        current = nullptr;
    }

    static BOOL CALLBACK FindOwned(HWND hwnd, LPARAM found) {
        wchar_t cls[16] = {};
        GetClassNameW(hwnd, cls, 16);
        if (std::wstring(cls) == L"#32770" && GetWindow(hwnd, GW_OWNER) == current->owner &&
            IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog)
            return;
        if (++current->ticks > 200) { // 10 s: a fault
            current->forcedClose = true;
            EndDialog(dialog, IDCANCEL);
            return;
        }
        if (current->step) {
            auto step = std::move(current->step);
            current->step = nullptr;
            step(dialog);
        }
    }

    std::optional<FontSpec> RunDialog(const FontSpec& start, std::function<void(HWND)> onDialog) {
        step = std::move(onDialog);
        timer = SetTimer(nullptr, 0, 50, Tick);
        std::optional<FontSpec> result = dialogs.PickFont(start);
        KillTimer(nullptr, timer);
        timer = 0;
        return result;
    }

    static inline FontDialogWin32Test* current = nullptr;
    HWND owner = nullptr;
    FontDialogWin32 dialogs;
    UINT_PTR timer = 0;
    int ticks = 0;
    bool forcedClose = false;
    std::function<void(HWND)> step;
};

TEST_F(FontDialogWin32Test, ConfirmingHandsBackTheFontTheDialogStartedFrom) {
    bool shown = false;
    std::optional<FontSpec> chosen = RunDialog({u"Arial", 12, true, true}, [&](HWND dialog) {
        shown = true;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(forcedClose);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->size, 12);
    EXPECT_TRUE(chosen->bold);
    EXPECT_TRUE(chosen->italic);
    EXPECT_FALSE(chosen->name.empty()); // Arial, or whatever the system made of it
}

TEST_F(FontDialogWin32Test, CancellingHandsBackNothingAndALongStoredNameStillOpensTheDialog) {
    bool shown = false;
    std::optional<FontSpec> chosen =
        RunDialog({std::u16string(50, u'Ж'), 10, false, false}, [&](HWND dialog) {
            shown = true;
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_TRUE(shown);
    EXPECT_FALSE(forcedClose);
    EXPECT_FALSE(chosen.has_value());
}

} // namespace
} // namespace quillet::win32
