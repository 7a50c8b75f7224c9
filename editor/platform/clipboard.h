#pragma once
// The clipboard's plain text.

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    virtual void SetText(std::u16string_view text) = 0;
    virtual std::optional<std::u16string> Text() = 0; // nothing when it holds no text
};

} // namespace quillet
