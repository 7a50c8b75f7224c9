#include "editor/win32/shell_win32.h"

#include "editor/win32/wide.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace quillet {

void ShellWin32::Open(std::u16string_view file, std::u16string_view workingFolder) {
    std::wstring fileW = win32::ToWide(file);
    std::wstring folderW = win32::ToWide(workingFolder);
    // The shell may hand the work to COM objects, which want an apartment on this thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // The shell shows its own message when nothing can open the file; the result adds nothing.
    ShellExecuteW(nullptr, L"Open", fileW.c_str(), nullptr, folderW.empty() ? nullptr : folderW.c_str(),
                  SW_SHOWNORMAL);
    if (SUCCEEDED(com))
        CoUninitialize();
}

} // namespace quillet
