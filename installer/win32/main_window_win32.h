#pragma once
// The installer's window "Мои программы": the web view filling its client area, and the message
// loop the program runs on once the installation is done.

#include "editor/win32/window_base.h"
#include "installer/installer.h"
#include "installer/win32/web_view_win32.h"

#include <windows.h>

namespace quillet::installer::win32 {

class MainWindowWin32 : public InstallerWindow, private quillet::win32::WindowBase<MainWindowWin32> {
public:
    MainWindowWin32(HINSTANCE instance, Installer& app, WebViewWin32& webView)
        : instance_(instance), app_(app), webView_(webView) {}
    MainWindowWin32(const MainWindowWin32&) = delete;
    MainWindowWin32& operator=(const MainWindowWin32&) = delete;
    ~MainWindowWin32() override;

    void PumpMessages() override;
    // Creates the window on its first showing.
    void Show() override;
    ClientSize InnerSize() override;

    // Runs until the window has been closed; returns the exit code.
    int RunMessageLoop();
    HWND Handle() const { return hwnd_; }

private:
    friend class quillet::win32::WindowBase<MainWindowWin32>;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create();
    void Dispatch(MSG& msg);

    HINSTANCE instance_;
    Installer& app_;
    WebViewWin32& webView_;
    bool pumping_ = false;
    bool closed_ = false; // the window was made and has been closed
};

} // namespace quillet::installer::win32
