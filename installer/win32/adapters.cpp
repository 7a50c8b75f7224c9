#include "installer/win32/adapters.h"

#include "editor/base/path.h"
#include "editor/win32/wide.h"

#include "installer/win32/com_ptr.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

namespace quillet::installer::win32 {

using quillet::win32::FromWide;
using quillet::win32::ToWide;

bool RegistryWin32::SetString(std::u16string_view subkey, std::u16string_view valueName,
                              std::u16string_view data) {
    std::wstring key = ToWide(subkey);
    std::wstring name = ToWide(valueName);
    std::wstring value = ToWide(data);
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    // The terminating zero is part of the byte count, so readers always find the string's end.
    DWORD bytes = DWORD((value.size() + 1) * sizeof(wchar_t));
    LONG set = RegSetValueExW(handle, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()), bytes);
    LONG closed = RegCloseKey(handle);
    return set == ERROR_SUCCESS && closed == ERROR_SUCCESS;
}

std::optional<std::u16string> ShellWin32::ProgramsFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_PROGRAMS | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::nullopt;
    return FromWide(path);
}

bool ShellWin32::SaveLink(std::u16string_view linkPath, const ShellLinkProperties& link) {
    ComPtr<IShellLinkW> shellLink;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.PutVoid())))
        return false;
    bool ok = SUCCEEDED(shellLink->SetShowCmd(link.windowStyle));
    ok = ok && SUCCEEDED(shellLink->SetPath(ToWide(link.targetPath).c_str()));
    ok = ok && SUCCEEDED(shellLink->SetIconLocation(ToWide(link.iconPath).c_str(), link.iconIndex));
    ok = ok && SUCCEEDED(shellLink->SetDescription(ToWide(link.description).c_str()));
    ok = ok && SUCCEEDED(shellLink->SetWorkingDirectory(ToWide(link.workingDirectory).c_str()));
    if (!ok)
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.PutVoid())))
        return false;
    return SUCCEEDED(file->Save(ToWide(linkPath).c_str(), TRUE));
}

namespace {

int32_t ErrorNumber(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_NETWORK_ACCESS_DENIED: return 75;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return 76;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return 70;
    default: return 57; // device I/O error: anything else
    }
}

} // namespace

int32_t FilesWin32::CreateEmpty(std::u16string_view path) {
    std::wstring name = ToWide(path);
    // Asked first: Wine run by the superuser would let a read-only file be written.
    DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return 75;
    // Opened, not recreated, so a template's attributes (hidden, say) stay and only its content goes.
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ErrorNumber(GetLastError());
    int32_t result = 0;
    if (!SetEndOfFile(file))
        result = ErrorNumber(GetLastError());
    if (!CloseHandle(file) && result == 0)
        result = ErrorNumber(GetLastError());
    return result;
}

std::optional<std::u16string> EnvironmentWin32::Variable(std::u16string_view name) {
    std::wstring key = ToWide(name);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        SetLastError(0);
        DWORD n = GetEnvironmentVariableW(key.c_str(), buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                            : std::optional<std::u16string>(u"");
        if (n < buffer.size())
            return FromWide(std::wstring_view(buffer.data(), n));
        buffer.resize(n);
    }
}

std::u16string FolderOfProgram(std::u16string_view programPath) {
    return FolderWithoutSeparator(programPath, std::u16string_view(u"\\/"));
}

std::u16string EnvironmentWin32::ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0)
            return u"";
        if (n < buffer.size())
            return FolderOfProgram(FromWide(std::wstring_view(buffer.data(), n)));
        buffer.resize(buffer.size() * 2);
    }
}

void MessagesWin32::Show(std::u16string_view text, std::u16string_view title, InstallerIcon icon) {
    UINT style = MB_OK | MB_SETFOREGROUND;
    switch (icon) {
    case InstallerIcon::Information: style |= MB_ICONINFORMATION; break;
    case InstallerIcon::Warning: style |= MB_ICONWARNING; break;
    case InstallerIcon::Error: style |= MB_ICONERROR; break;
    }
    MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(title).c_str(), style);
}

} // namespace quillet::installer::win32
