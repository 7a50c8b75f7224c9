#pragma once

#include "editor/platform/clipboard.h"

#include <functional>
#include <optional>
#include <string>

namespace quillet::fakes {

class FakeClipboard : public Clipboard {
public:
    bool SetText(std::u16string_view value) override {
        ++writes;
        if (unavailable)
            return false;
        text = std::u16string(value);
        if (onSet)
            onSet();
        return true;
    }
    std::optional<std::u16string> Text() override {
        if (unavailable)
            return std::nullopt;
        return text.value_or(std::u16string());
    }

    std::optional<std::u16string> text;
    int writes = 0;
    bool unavailable = false;    // another program holds the clipboard open
    std::function<void()> onSet; // lets a test see the world at the moment of writing
};

} // namespace quillet::fakes
