#pragma once
// The text as the document model stores it: every CR, LF or CR LF becomes one CR LF. A plain
// reference for the model's own tests and its fuzz target.

#include <string>
#include <string_view>

namespace quillet::testing {

inline std::u16string Normalized(std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace quillet::testing
