#pragma once

#include "editor/platform/clipboard.h"

#include <functional>
#include <optional>
#include <string>

namespace quillet::fakes {

class FakeClipboard : public Clipboard {
public:
    void Clear() override {
        text.reset();
        ++clears;
    }
    void SetText(std::u16string_view value) override {
        text = std::u16string(value);
        if (onSet)
            onSet();
    }
    std::optional<std::u16string> Text() override { return text; }

    std::optional<std::u16string> text;
    int clears = 0;
    std::function<void()> onSet; // lets a test see the world at the moment of writing
};

} // namespace quillet::fakes
