// Install.exe: registers Quillet for .txt files, makes its Start-menu shortcut and the
// new-document template, reports, then shows the maker's page until the window is closed.

#include "installer/installer.h"
#include "installer/win32/adapters.h"
#include "installer/win32/main_window_win32.h"
#include "installer/win32/web_view_win32.h"

#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

using namespace quillet::installer;
using namespace quillet::installer::win32;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The shell links and the browser control are COM objects of this thread.
    HRESULT ole = OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LINK_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int exitCode = 0;
    {
        RegistryWin32 registry;
        ShellWin32 shell;
        FilesWin32 files;
        EnvironmentWin32 environment;
        MessagesWin32 messages;
        WebViewWin32 webView;
        Installer app;
        MainWindowWin32 window(instance, app, webView);
        app.ports = {&registry, &shell, &files, &environment, &messages, &window, &webView};

        InstallerStartUp(app);
        exitCode = window.RunMessageLoop();
    }

    if (SUCCEEDED(ole))
        OleUninitialize();
    return exitCode;
}
