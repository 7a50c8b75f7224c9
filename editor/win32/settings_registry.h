#pragma once
// The settings store in the per-user registry: HKEY_CURRENT_USER\Software\<app>\<section>,
// one string value per key.

#include "editor/platform/settings_store.h"

namespace quillet::win32 {

class RegistrySettings : public SettingsStore {
public:
    std::u16string Read(std::u16string_view app, std::u16string_view section,
                        std::u16string_view key) override;
    void Write(std::u16string_view app, std::u16string_view section, std::u16string_view key,
               std::u16string_view value) override;
};

} // namespace quillet::win32
