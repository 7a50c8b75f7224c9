#pragma once
// The clipboard's plain text. The text is put on it in Unicode, so every program reads it
// exactly whatever its code page, and in the ANSI code page for programs that read only that.

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content with the text; false when the clipboard could not be
    // written (another program holds it open, no memory), the old content then stays.
    virtual bool SetText(std::u16string_view text) = 0;
    // The plain text; empty when the clipboard holds no text, nothing when it cannot be read.
    virtual std::optional<std::u16string> Text() = 0;
};

} // namespace quillet
