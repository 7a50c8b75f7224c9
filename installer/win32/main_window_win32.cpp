#include "installer/win32/main_window_win32.h"

#include "editor/win32/dpi.h"
#include "editor/win32/system_change.h"
#include "editor/win32/wide.h"
#include "installer/win32/resource.h"

#include <commctrl.h>

namespace quillet::installer::win32 {

namespace {

using quillet::win32::PixelsFrom96;
using quillet::win32::ScreenDpi;
using quillet::win32::ToWide;

constexpr wchar_t kWindowClass[] = L"QuilletInstallerWindow";

} // namespace

MainWindowWin32::~MainWindowWin32() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

bool MainWindowWin32::Create() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_INSTALLER));
    wc.hIconSm =
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_INSTALLER), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc); // fails harmlessly when already registered

    int dpi = ScreenDpi();
    std::wstring caption = ToWide(kWindowCaption);
    return CreateWindowExW(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                           CW_USEDEFAULT, CW_USEDEFAULT, PixelsFrom96(800, dpi), PixelsFrom96(600, dpi),
                           nullptr, nullptr, instance_, this) != nullptr;
}

void MainWindowWin32::Show() {
    if (!hwnd_ && !Create())
        return;
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
}

ClientSize MainWindowWin32::InnerSize() {
    RECT r = {};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void MainWindowWin32::Dispatch(MSG& msg) {
    if (webView_.PreTranslate(msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void MainWindowWin32::PumpMessages() {
    // A nested pump from inside a handler that is itself pumping would only go deeper.
    if (pumping_)
        return;
    pumping_ = true;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam)); // leave it for the main loop
            break;
        }
        Dispatch(msg);
    }
    pumping_ = false;
}

int MainWindowWin32::RunMessageLoop() {
    // A window closed while it was being shown has left its quit message in the queue.
    if (!hwnd_ && !closed_)
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        Dispatch(msg);
    return int(msg.wParam);
}

LRESULT MainWindowWin32::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        webView_.SetDpi(quillet::win32::WindowDpi(hwnd_));
        webView_.Create(hwnd_, kBrowserStartLocation);
        OnWindowCreated(app_);
        return 0;
    case WM_SIZE: OnWindowResized(app_); return 0;
    case WM_COMMAND:
        if (webView_.OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush =
                webView_.OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_DPICHANGED:
        webView_.SetDpi(quillet::win32::DpiOfChange(wParam));
        quillet::win32::MoveToSuggestedRect(hwnd_, lParam); // the web view follows in WM_SIZE
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: quillet::win32::RepaintAfterSystemChange(hwnd_, message, wParam, lParam); return 0;
    case WM_SETCURSOR:
        if (webView_.OnSetCursor(reinterpret_cast<HWND>(wParam)))
            return TRUE;
        break;
    case WM_DESTROY:
        webView_.Destroy();
        closed_ = true;
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace quillet::installer::win32
