// The text control inside the real Quillet.exe, driven by keyboard from outside.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

using namespace quillet::e2e;

TEST(TextViewEndToEnd, OpensACyrillicFileTypesMovesAndSelectsAsAPersonWould) {
    TempFolder folder;
    std::wstring path = folder.File(L"письмо.txt");
    ASSERT_TRUE(WriteBytes(path, Cp1251(L"Привет, мир!\r\nВторая строка\r\n")));

    App app;
    ASSERT_TRUE(app.Open(path));
    ASSERT_TRUE(app.WaitText(L"Привет, мир!\r\nВторая строка\r\n"));

    // Ctrl+End, then type Cyrillic and Latin text with a line break.
    PressKey(VK_END, {VK_CONTROL});
    TypeText(L"Ёжик and hedgehog\rёлка");
    EXPECT_TRUE(app.WaitText(L"Привет, мир!\r\nВторая строка\r\nЁжик and hedgehog\r\nёлка"));

    // Ctrl+Home, Shift+End selects the first line; Ctrl+Right steps over a word, then over
    // the punctuation and the space after it.
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_END, {VK_SHIFT});
    app.Sync();
    EXPECT_TRUE(WaitFor([&] { return app.Selection() == std::pair(0, 12); }, 3s));
    PressKey(VK_HOME);
    PressKey(VK_RIGHT, {VK_CONTROL});
    app.Sync();
    EXPECT_TRUE(WaitFor([&] { return app.Selection() == std::pair(6, 6); }, 3s)) << app.Selection().first;
    PressKey(VK_RIGHT, {VK_CONTROL});
    app.Sync();
    EXPECT_TRUE(WaitFor([&] { return app.Selection() == std::pair(8, 8); }, 3s)) << app.Selection().first;

    // Down keeps the column; Shift+Right twice selects two letters, typing replaces them.
    PressKey(VK_DOWN);
    PressKey(VK_RIGHT, {VK_SHIFT});
    PressKey(VK_RIGHT, {VK_SHIFT});
    app.Sync();
    EXPECT_TRUE(WaitFor([&] { return app.Selection() == std::pair(22, 24); }, 3s)) << app.Selection().first;
    TypeText(L"Ж");
    EXPECT_TRUE(app.WaitText(L"Привет, мир!\r\nВторая сЖока\r\nЁжик and hedgehog\r\nёлка"));

    // Select a word for the picture: the rendering is checked by eye from this screenshot.
    PressKey(VK_HOME, {VK_CONTROL});
    PressKey(VK_RIGHT, {VK_CONTROL, VK_SHIFT});
    app.Sync();
    if (!Env().shotsFolder.empty())
        Screenshot(Env().shotsFolder + L"view_e2e.bmp");
    app.Kill();
}
