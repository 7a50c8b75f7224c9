#include "editor/win32/clipboard_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace quillet::win32 {
namespace {

HWND MessageWindow() {
    return CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

TEST(ClipboardWin32Test, KeepsTheExactTextAnEmptyOneTooAndReportsAClipboardHeldElsewhere) {
    HWND owner = MessageWindow();
    ClipboardWin32 clipboard(owner);
    ASSERT_TRUE(clipboard.SetText(u"Привет, world\r\nЁё"));
    EXPECT_EQ(clipboard.Text(), u"Привет, world\r\nЁё");
    ASSERT_TRUE(clipboard.SetText(u""));
    EXPECT_EQ(clipboard.Text(), u"");
    ASSERT_TRUE(clipboard.SetText(u"kept"));

    std::atomic<int> held{0}; // 1 held, 2 could not open
    std::atomic<bool> release{false};
    std::thread holder([&] {
        HWND other = MessageWindow();
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
    const bool writeRefused = !clipboard.SetText(u"lost");
    const bool readRefused = !clipboard.Text().has_value();
    release = true;
    holder.join();
    ASSERT_EQ(held, 1) << "the other thread could not open the clipboard";
    EXPECT_TRUE(writeRefused);
    EXPECT_TRUE(readRefused);
    EXPECT_EQ(clipboard.Text(), u"kept");
    DestroyWindow(owner);
}

} // namespace
} // namespace quillet::win32
