#pragma once
// An in-memory settings store that also keeps the order of writes.

#include "editor/platform/settings_store.h"

#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace quillet::fakes {

class FakeSettingsStore : public SettingsStore {
public:
    using Key = std::tuple<std::u16string, std::u16string, std::u16string>;

    std::u16string Read(std::u16string_view app, std::u16string_view section,
                        std::u16string_view key) override {
        auto it = values.find(Key(app, section, key));
        return it == values.end() ? std::u16string() : it->second;
    }
    void Write(std::u16string_view app, std::u16string_view section, std::u16string_view key,
               std::u16string_view value) override {
        writes.emplace_back(key);
        values[Key(app, section, key)] = std::u16string(value);
    }

    // Shorthand for the editor's own section.
    void Set(std::u16string_view key, std::u16string_view value) {
        values[Key(u"Quillet", u"INI", key)] = value;
    }
    std::u16string Get(std::u16string_view key) const {
        auto it = values.find(Key(u"Quillet", u"INI", key));
        return it == values.end() ? std::u16string() : it->second;
    }
    bool Has(std::u16string_view key) const { return values.count(Key(u"Quillet", u"INI", key)) != 0; }

    std::map<Key, std::u16string> values;
    std::vector<std::u16string> writes; // keys in the order written
};

} // namespace quillet::fakes
