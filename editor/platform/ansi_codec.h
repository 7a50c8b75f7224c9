#pragma once
// Converts between document bytes in the ANSI code page (Windows-1251 on Russian systems) and
// the editor's UTF-16 text. Nothing else in the editor knows the code page.

#include <string>
#include <string_view>

namespace quillet {

class AnsiCodec {
public:
    virtual ~AnsiCodec() = default;
    // Appends the characters for bytes to out: every byte becomes one character; nothing is
    // interpreted or dropped.
    virtual void Decode(std::string_view bytes, std::u16string& out) const = 0;
    // Appends the bytes for text to out; false when some character has no exact form in the
    // code page (it is then written as the code page's replacement).
    virtual bool Encode(std::u16string_view text, std::string& out) const = 0;
};

} // namespace quillet
