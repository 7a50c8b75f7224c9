#pragma once
// Tiny owners for Windows handles: the destructor closes, the handle converts to the raw one.

#include <windows.h>

#include <utility>

namespace quillet::win32 {

template <typename T, typename Closer, T kInvalid = T{}> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, kInvalid)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(std::exchange(other.handle_, kInvalid));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    void Reset(T handle = kInvalid) {
        if (handle_ != kInvalid)
            Closer{}(handle_);
        handle_ = handle;
    }
    T Release() { return std::exchange(handle_, kInvalid); }
    T Get() const { return handle_; }
    explicit operator bool() const { return handle_ != kInvalid; }
    operator T() const { return handle_; }

private:
    T handle_ = kInvalid;
};

struct CloseHandleCloser {
    void operator()(HANDLE h) const { ::CloseHandle(h); }
};
struct DeleteObjectCloser {
    void operator()(HGDIOBJ h) const { ::DeleteObject(h); }
};
struct DeleteDcCloser {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};

// CreateFile reports failure as INVALID_HANDLE_VALUE, which is not a constant expression.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() { Reset(); }
    FileHandle(FileHandle&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    FileHandle& operator=(FileHandle&& o) noexcept {
        if (this != &o)
            Reset(std::exchange(o.h_, INVALID_HANDLE_VALUE));
        return *this;
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    void Reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (h_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(h_);
        h_ = h;
    }
    HANDLE Get() const { return h_; }
    explicit operator bool() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// A font, pen, brush or bitmap. Declared before the SelectInDc that selects it, so that it is
// deselected before it is deleted.
template <typename T> using GdiObject = UniqueHandle<T, DeleteObjectCloser>;
using GdiFont = GdiObject<HFONT>;
using GdiPen = GdiObject<HPEN>;
using GdiBrush = GdiObject<HBRUSH>;
using GdiBitmap = GdiObject<HBITMAP>;

// A memory DC from CreateCompatibleDC.
using MemoryDc = UniqueHandle<HDC, DeleteDcCloser>;

// A window's DC, or the screen's for no window; released on scope exit.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    operator HDC() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    ~PaintDc() { ::EndPaint(hwnd_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    operator HDC() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; } // what needs painting

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC for a scope; what was selected before comes back at its end.
class SelectInDc {
public:
    SelectInDc(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
    ~SelectInDc() { ::SelectObject(dc_, old_); }
    SelectInDc(const SelectInDc&) = delete;
    SelectInDc& operator=(const SelectInDc&) = delete;
    // Another object of the same kind in its place; the first one's predecessor still comes back.
    void Select(HGDIOBJ obj) { ::SelectObject(dc_, obj); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace quillet::win32
