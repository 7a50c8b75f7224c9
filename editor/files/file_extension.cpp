#include "editor/files/file_extension.h"

namespace quillet {

int32_t FindExtensionDot(std::u16string_view path, std::u16string_view pathSeparator) {
    char16_t separator = pathSeparator.empty() ? u'\\' : pathSeparator.front();
    for (size_t n = path.size(); n >= 4; --n) {
        char16_t c = path[n - 1];
        if (c == separator)
            return 0;
        if (c == u'.')
            return int32_t(n);
    }
    return 0;
}

std::u16string WithTxtExtension(std::u16string path, std::u16string_view pathSeparator) {
    if (FindExtensionDot(path, pathSeparator) == 0)
        path += u".txt";
    return path;
}

} // namespace quillet
