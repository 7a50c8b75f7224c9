#include "editor/win32/clipboard_win32.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace quillet::win32 {
namespace {

class ClipboardWin32Test : public ::testing::Test {
protected:
    ClipboardWin32Test() {
        owner = CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        clipboard.SetOwner(owner);
    }
    ~ClipboardWin32Test() override { DestroyWindow(owner); }

    // Puts raw data of one format on the clipboard beside what is there (opened and closed here).
    void Add(UINT format, const void* data, size_t bytes, bool empty) {
        ASSERT_TRUE(OpenClipboard(owner));
        if (empty)
            EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(memory), data, bytes);
        GlobalUnlock(memory);
        SetClipboardData(format, memory);
        CloseClipboard();
    }

    std::string RawAnsi() {
        std::string bytes;
        if (OpenClipboard(owner)) {
            if (HANDLE h = GetClipboardData(CF_TEXT)) {
                bytes = static_cast<const char*>(GlobalLock(h));
                GlobalUnlock(h);
            }
            CloseClipboard();
        }
        return bytes;
    }

    std::wstring RawUnicode() {
        std::wstring text;
        if (OpenClipboard(owner)) {
            if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
                text = static_cast<const wchar_t*>(GlobalLock(h));
                GlobalUnlock(h);
            }
            CloseClipboard();
        }
        return text;
    }

    HWND owner = nullptr;
    ClipboardWin32 clipboard;
};

TEST_F(ClipboardWin32Test, WritesTheExactTextAsUnicodeAndAsAnsiForOlderPrograms) {
    ASSERT_TRUE(clipboard.SetText(u"Привет, world\r\nЁё"));
    EXPECT_EQ(RawUnicode(), L"Привет, world\r\nЁё");
    // Windows-1251 bytes of the same text.
    EXPECT_EQ(RawAnsi(), "\xCF\xF0\xE8\xE2\xE5\xF2, world\r\n\xA8\xB8");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(clipboard.Text(), u"Привет, world\r\nЁё");
}

TEST_F(ClipboardWin32Test, AnEmptyTextReplacesWhatTheClipboardHeld) {
    ASSERT_TRUE(clipboard.SetText(u"something"));
    ASSERT_TRUE(clipboard.SetText(u""));
    EXPECT_EQ(clipboard.Text(), u"");
}

TEST_F(ClipboardWin32Test, ReadingPrefersTheUnicodeTextAndIgnoresFormattedText) {
    const wchar_t unicode[] = L"юникод";
    const char ansi[] = "ansi";
    const char rtf[] = "{\\rtf1 {\\b bold}}";
    Add(CF_UNICODETEXT, unicode, sizeof unicode, true);
    Add(CF_TEXT, ansi, sizeof ansi, false);
    Add(RegisterClipboardFormatW(L"Rich Text Format"), rtf, sizeof rtf, false);
    EXPECT_EQ(clipboard.Text(), u"юникод");
}

TEST_F(ClipboardWin32Test, ReadsEightBitTextInTheAnsiCodePage) {
    const char ansi[] = "\xEF\xF0\xE8\xE2\xE5\xF2"; // "привет" in Windows-1251
    Add(CF_TEXT, ansi, sizeof ansi, true);
    EXPECT_EQ(clipboard.Text(), u"привет");
}

TEST_F(ClipboardWin32Test, ReportsAWriteItCouldNotMakeWhileAnotherThreadHoldsTheClipboard) {
    ASSERT_TRUE(clipboard.SetText(u"kept"));
    std::atomic<int> held{0}; // 1 held, 2 could not open
    std::atomic<bool> release{false};
    std::thread holder([&] {
        HWND other = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        bool opened = OpenClipboard(other) != FALSE;
        held = opened ? 1 : 2;
        while (opened && !release)
            Sleep(5);
        if (opened)
            CloseClipboard();
        DestroyWindow(other);
    });
    while (held == 0)
        Sleep(5);
    bool writeRefused = held == 1 && !clipboard.SetText(u"lost");
    bool readRefused = held == 1 && !clipboard.Text().has_value();
    release = true;
    holder.join();
    ASSERT_EQ(held, 1) << "the other thread could not open the clipboard";
    EXPECT_TRUE(writeRefused);
    EXPECT_TRUE(readRefused);
    EXPECT_EQ(clipboard.Text(), u"kept");
}

} // namespace
} // namespace quillet::win32
