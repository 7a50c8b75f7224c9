#include "editor/edit/font_choice.h"
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

    int32_t RunDialog(FontDialogRecord& record, LogicalFont& font, std::function<void(HWND)> onDialog) {
        step = std::move(onDialog);
        timer = SetTimer(nullptr, 0, 50, Tick);
        int32_t result = dialogs.Choose(record, font);
        KillTimer(nullptr, timer);
        timer = 0;
        return result;
    }

    static constexpr int kUses = 70000;

    static inline FontDialogWin32Test* current = nullptr;
    HWND owner = nullptr;
    FontDialogWin32 dialogs;
    UINT_PTR timer = 0;
    int ticks = 0;
    bool forcedClose = false;
    std::function<void(HWND)> step;
};

DocumentState DocumentFont(std::u16string name, int32_t size, bool bold, bool italic) {
    DocumentState doc;
    doc.FontName = std::move(name);
    doc.FontSize = size;
    doc.FontBold = bold ? kTrue : kFalse;
    doc.FontItalic = italic ? kTrue : kFalse;
    return doc;
}

TEST_F(FontDialogWin32Test, ReadsTheDisplaysPixelsPerInch) {
    HDC screen = GetDC(nullptr);
    int expected = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(dialogs.PixelsPerInchY(), expected);
}

TEST_F(FontDialogWin32Test, ConfirmingHandsBackTheChoiceTheDialogStartedFrom) {
    DocumentState doc = DocumentFont(u"Arial", 12, true, true);
    LogicalFont font = LogicalFontFor(doc, dialogs.PixelsPerInchY());
    FontDialogRecord record = FontDialogRecordFor(doc);

    int32_t result = RunDialog(record, font, [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); });

    EXPECT_FALSE(forcedClose);
    EXPECT_GT(result, 0);
    EXPECT_EQ(record.iPointSize, 120);
    EXPECT_NE(record.nFontType & kBoldFontType, 0);
    EXPECT_NE(font.lfItalic, 0);
    EXPECT_NE(std::u16string(font.lfFaceName.data()), u"");
}

TEST_F(FontDialogWin32Test, CancellingReturnsZeroAndLeavesTheRecords) {
    DocumentState doc = DocumentFont(u"Courier New", 10, false, false);
    LogicalFont font = LogicalFontFor(doc, 96);
    FontDialogRecord record = FontDialogRecordFor(doc);

    int32_t result =
        RunDialog(record, font, [](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });

    EXPECT_FALSE(forcedClose);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(record.iPointSize, 100);
    EXPECT_EQ(record.nFontType, kScreenFontType);
    EXPECT_EQ(std::u16string(font.lfFaceName.data()), u"Courier New");
    EXPECT_EQ(font.lfHeight, 13);
}

TEST_F(FontDialogWin32Test, NamesTheFaceOfTheFontActuallyCreated) {
    LogicalFont font;
    font.lfHeight = 16;
    CopyFaceName(u"Arial", font);
    std::optional<std::u16string> face = dialogs.CreatedFaceName(font, kMaxFaceNameLength);
    ASSERT_TRUE(face.has_value());
    EXPECT_FALSE(face->empty());

    std::optional<std::u16string> cut = dialogs.CreatedFaceName(font, 3);
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(*cut, face->substr(0, 3));
}

TEST_F(FontDialogWin32Test, ReleasesEveryDeviceContextAndFontHoweverOftenItIsUsed) {
    // The process's GDI handle table holds at most 65536 objects: a font or a device
    // context kept per use would exhaust it well before the end, and creating fails from then on.
    LogicalFont font;
    font.lfHeight = 16;
    CopyFaceName(u"Courier New", font);
    int failures = 0;
    for (int i = 0; i < kUses; ++i) {
        if (!dialogs.CreatedFaceName(font, kMaxFaceNameLength))
            ++failures;
        dialogs.PixelsPerInchY();
    }
    EXPECT_EQ(failures, 0);
    HDC dc = GetDC(owner);
    EXPECT_NE(dc, nullptr);
    if (dc)
        ReleaseDC(owner, dc);
}

} // namespace
} // namespace quillet::win32
