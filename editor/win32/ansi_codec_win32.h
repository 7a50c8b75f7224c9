#pragma once
// The ANSI code page of the system (CP_ACP) through the system's own conversion.

#include "editor/platform/ansi_codec.h"

#include <cstdint>
#include <vector>

namespace quillet::win32 {

class AnsiCodecWin32 : public AnsiCodec {
public:
    AnsiCodecWin32();
    void Decode(std::string_view bytes, std::u16string& out) const override;
    bool Encode(std::u16string_view text, std::string& out) const override;

private:
    // For a single-byte code page: the byte of every character that has an exact one, -1 for
    // the rest. Built from the system's own decoding of the 256 bytes, so a character maps
    // back only to the byte it came from and never to a look-alike. Empty for other code pages.
    std::vector<int16_t> bytes_;
};

} // namespace quillet::win32
