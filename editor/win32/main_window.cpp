#include "editor/win32/main_window.h"

#include "editor/core/document_state.h"
#include "editor/win32/resource.h"

namespace quillet::win32 {

MainFrame::~MainFrame() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool MainFrame::Create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MainFrame::WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    std::wstring title = ToWide(kAppTitle);
    HWND hwnd =
        CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!hwnd)
        return false;
    return view_.Create(hwnd_, IDC_RICH, instance);
}

void MainFrame::SetCaption(std::u16string_view caption) {
    std::wstring text = ToWide(caption);
    SetWindowTextW(hwnd_, text.c_str());
}

LRESULT CALLBACK MainFrame::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MainFrame* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<MainFrame*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_ = hwnd;
    } else {
        self = reinterpret_cast<MainFrame*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    return self->HandleMessage(msg, wParam, lParam);
}

LRESULT MainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: OnSize(); return 0;
    case WM_SETFOCUS: view_.SetFocus(); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd_, msg, wParam, lParam);
    }
}

// The text control fills the client area.
void MainFrame::OnSize() {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    if (HWND view = view_.Handle())
        MoveWindow(view, 0, 0, rc.right, rc.bottom, TRUE);
}

} // namespace quillet::win32
