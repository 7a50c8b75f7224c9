#pragma once
// The window-procedure pattern of our window classes: the object behind a window is the last
// argument of CreateWindowEx, kept in GWLP_USERDATA from WM_NCCREATE to WM_NCDESTROY; every
// message between goes to T::HandleMessage, and nothing it throws leaves the procedure.
//
// T derives from WindowBase<T>, befriends it, registers WndProc as its class's procedure and
// passes itself to CreateWindowEx. It may hide OnWindowDestroyed to forget what went with the
// window.

#include "editor/win32/last_resort.h"

#include <windows.h>

namespace quillet::win32 {

template <class T> class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

protected:
    WindowBase() = default;
    ~WindowBase() = default;

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        T* self = nullptr;
        if (msg == WM_NCCREATE) {
            self = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (!self)
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            self->OnWindowDestroyed();
            return DefWindowProcW(hwnd, msg, wParam, lParam);
        }
        bool failed = true;
        LRESULT result = CatchAll(
            [&] {
                LRESULT handled = self->HandleMessage(msg, wParam, lParam);
                failed = false;
                return handled;
            },
            0);
        if (failed && msg == WM_PAINT)
            ValidateRect(hwnd, nullptr); // a paint that failed must not come straight back
        return result;
    }

    void OnWindowDestroyed() {}

    // For the owner's destructor: the window goes without its last messages reaching the object.
    void DestroyDetached() {
        if (!hwnd_)
            return;
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }

    HWND hwnd_ = nullptr;
};

} // namespace quillet::win32
