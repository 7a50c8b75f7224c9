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

// The DPI that WM_DPICHANGED announces (the same across and down).
inline int DpiOfChange(WPARAM wParam) {
    return HIWORD(wParam);
}

// Takes the place and size that WM_DPICHANGED suggests for the new DPI.
inline void MoveToSuggestedRect(HWND hwnd, LPARAM lParam) {
    const RECT& r = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// For a dialog that lays itself out again at a new DPI: the dialog manager must not scale it as
// well (looked up at run time: before Windows 10 1703 it does not scale dialogs).
inline void LayOutDialogOurselves(HWND dialog) {
    using SetBehaviourFn = BOOL(WINAPI*)(HWND, int, int);
    static const auto setBehaviour = reinterpret_cast<SetBehaviourFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    constexpr int kDisableAll = 1; // DDC_DISABLE_ALL
    if (setBehaviour)
        setBehaviour(dialog, kDisableAll, kDisableAll);
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
