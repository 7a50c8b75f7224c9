#pragma once
// Whether a chosen path already names an extension.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// 1-based position of the dot that begins the last component's extension, or 0 when it has
// none. The first three characters (a drive prefix such as "C:\") are never examined.
int32_t FindExtensionDot(std::u16string_view path, std::u16string_view pathSeparator);

// The callers' rule: a path without an extension gets ".txt".
std::u16string WithTxtExtension(std::u16string path, std::u16string_view pathSeparator);

} // namespace quillet
