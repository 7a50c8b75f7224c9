#pragma once
// Per-user string values addressed by application, section and key. A value never written
// reads as the empty string.

#include <string>
#include <string_view>

namespace quillet {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::u16string Read(std::u16string_view app, std::u16string_view section,
                                std::u16string_view key) = 0;
    virtual void Write(std::u16string_view app, std::u16string_view section, std::u16string_view key,
                       std::u16string_view value) = 0;
};

} // namespace quillet
