#pragma once
// The core's UTF-16 strings and the W API's wchar_t are the same code units on Windows.

#include <string>
#include <string_view>

namespace quillet::installer::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring Wide(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}
inline std::u16string Utf16(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

} // namespace quillet::installer::win32
