#pragma once
// Dots per inch, and the scaling of sizes designed in twips (1440 an inch), points (72 an inch) or
// pixels at 96 dpi.

#include "editor/win32/handles.h"

#include <windows.h>

namespace quillet::win32 {

// The screen's DPI, which every window DC reports too; 96 when it cannot be read.
inline int ScreenDpi() {
    WindowDc screen(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

// The DPI of the monitor the window is on where the system tracks it per window (looked up at run
// time: older systems lack the call); the screen's otherwise.
inline int WindowDpi(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpi && hwnd) {
        if (UINT dpi = getDpi(hwnd))
            return int(dpi);
    }
    return ScreenDpi();
}

inline int PixelsFromTwips(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}
inline int TwipsFromPixels(int pixels, int dpi) {
    return MulDiv(pixels, 1440, dpi);
}
inline int PixelsFromPoints(int points, int dpi) {
    return MulDiv(points, dpi, 72);
}
inline int PixelsFrom96(int pixelsAt96, int dpi) {
    return MulDiv(pixelsAt96, dpi, 96);
}

} // namespace quillet::win32
