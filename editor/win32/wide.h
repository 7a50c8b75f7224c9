#pragma once
// The core's UTF-16 and the W API's wchar_t are the same code units on Windows: a pointer to one is
// a pointer to the other, and a copy goes unit by unit.

#include <string>
#include <string_view>

namespace quillet::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline const wchar_t* Wide(const char16_t* s) {
    return reinterpret_cast<const wchar_t*>(s);
}
inline wchar_t* Wide(char16_t* s) {
    return reinterpret_cast<wchar_t*>(s);
}
// NUL-terminated, for the calls that take a string without its length.
inline const wchar_t* Wide(const std::u16string& s) {
    return Wide(s.c_str());
}
// A buffer the system writes into.
inline wchar_t* Wide(std::u16string& s) {
    return Wide(s.data());
}

inline std::wstring ToWide(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}
inline std::u16string FromWide(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

} // namespace quillet::win32
