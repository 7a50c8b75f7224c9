#pragma once
// The editor on fakes with a scripted find dialog, for the search tests.

#include "fakes/editor_with_fakes.h"

#include <string>
#include <vector>

namespace quillet::testing {

struct SearchWorld : fakes::EditorWithFakes {
    // A fresh document as loading leaves it: not modified, nothing to undo.
    void Load(std::u16string_view text) { control.Load(std::u16string(text)); }

    std::vector<std::u16string> Messages() const {
        std::vector<std::u16string> texts;
        for (const auto& shown : messages.shown)
            texts.push_back(shown.text);
        return texts;
    }

    Editor& editor = ed;
    fakes::FakeFindDialog& dialog = findDialog;
};

} // namespace quillet::testing
