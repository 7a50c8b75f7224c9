#include "editor/win32/settings_registry.h"

#include "editor/win32/handles.h"
#include "editor/win32/wide.h"

#include <windows.h>

#include <string>
#include <vector>

namespace quillet::win32 {

namespace {

struct RegCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegKey = UniqueHandle<HKEY, RegCloser>;

std::wstring KeyPath(std::u16string_view app, std::u16string_view section) {
    return L"Software\\" + ToWide(app) + L"\\" + ToWide(section);
}

} // namespace

std::u16string RegistrySettings::Read(std::u16string_view app, std::u16string_view section,
                                      std::u16string_view key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, KEY_QUERY_VALUE, &raw) !=
        ERROR_SUCCESS)
        return {};
    RegKey handle(raw);
    std::wstring name = ToWide(key);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {}; // a value of another type is not one of ours
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD size = DWORD(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return {};
    return FromWide(buffer.data()); // up to the first NUL, stored with or without one
}

void RegistrySettings::Write(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                             std::u16string_view value) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, KeyPath(app, section).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
        return; // a store that cannot be written keeps the last run's values
    RegKey handle(raw);
    std::wstring name = ToWide(key);
    std::wstring data = ToWide(value);
    RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD((data.size() + 1) * sizeof(wchar_t)));
}

} // namespace quillet::win32
