#pragma once
// Saves what a window shows on screen as a 24-bit BMP into the folder named by
// QUILLET_SCREENSHOT_DIR, so a person can look at it; nothing when the variable is unset.

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace quillet::testing {

inline bool SaveScreenshot(HWND hwnd, const char* name) {
    const char* dir = std::getenv("QUILLET_SCREENSHOT_DIR");
    if (!dir || !*dir)
        return false;
    UpdateWindow(hwnd);
    RECT r{};
    GetWindowRect(hwnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(mem, old);

    BITMAPINFOHEADER info{sizeof(info), w, h, 1, 24, BI_RGB};
    int stride = (w * 3 + 3) & ~3;
    std::vector<char> pixels(size_t(stride) * h);
    GetDIBits(mem, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    std::ofstream out(std::string(dir) + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(pixels.data(), std::streamsize(pixels.size()));
    return bool(out);
}

} // namespace quillet::testing
