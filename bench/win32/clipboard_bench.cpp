// Copy and Paste of large selections through the clipboard adapter, under Wine: the time to
// put a text on the clipboard (Unicode and ANSI) and to read it back. Prints one line a size.

#include "editor/win32/clipboard_win32.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

using namespace quillet::win32;

int wmain() {
    HWND owner = CreateWindowExW(0, L"STATIC", L"bench", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ClipboardWin32 clipboard(owner);
    const std::u16string line = u"Съешь же ещё этих мягких французских булок, да выпей чаю. 0123456789\r\n";
    for (size_t megabytes : {1u, 10u, 50u}) {
        std::u16string text;
        size_t characters = megabytes * 1024 * 1024 / sizeof(char16_t);
        text.reserve(characters + line.size());
        while (text.size() < characters)
            text += line;
        auto start = std::chrono::steady_clock::now();
        bool written = clipboard.SetText(text);
        auto middle = std::chrono::steady_clock::now();
        std::optional<std::u16string> back = clipboard.Text();
        auto end = std::chrono::steady_clock::now();
        auto ms = [](auto a, auto b) { return std::chrono::duration<double, std::milli>(b - a).count(); };
        std::printf("%3zu MB of text: copy %8.1f ms, paste %8.1f ms, %s\n", megabytes, ms(start, middle),
                    ms(middle, end), written && back == text ? "exact" : "MISMATCH");
    }
    DestroyWindow(owner);
    return 0;
}
