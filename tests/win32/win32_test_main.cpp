// The Win32 tests run in a virtual desktop of their own: there a window goes at once, while on a
// display without a window manager Wine waits two seconds for each top-level window to go.

#include <gtest/gtest.h>

#include <windows.h>

int main(int argc, char** argv) {
    // Wine makes a desktop virtual when its size is set under this key.
    const wchar_t size[] = L"1024x768";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", L"quillet-tests", REG_SZ, size,
                    sizeof size);
    if (HDESK desktop = CreateDesktopW(L"quillet-tests", nullptr, nullptr, 0, GENERIC_ALL, nullptr))
        SetThreadDesktop(desktop);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
