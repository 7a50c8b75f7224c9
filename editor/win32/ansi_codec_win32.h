#pragma once
// The ANSI code page of the system (CP_ACP) through the system's own conversion.

#include "editor/platform/ansi_codec.h"

namespace quillet::win32 {

class AnsiCodecWin32 : public AnsiCodec {
public:
    std::u16string Decode(std::string_view bytes) const override;
    bool Encode(std::u16string_view text, std::string& out) const override;
};

} // namespace quillet::win32
