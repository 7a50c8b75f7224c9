#pragma once
// The editor on fakes with a scripted find dialog, for the search tests.

#include "fakes/editor_with_fakes.h"

#include <functional>
#include <string>
#include <vector>

namespace quillet::testing {

class FakeFindDialog : public FindDialog {
public:
    void ShowModal() override {
        if (onShow)
            onShow();
    }
    std::function<void()> onShow;
};

struct SearchWorld : fakes::EditorWithFakes {
    SearchWorld() {
        ed.ports.findDialog = &dialog;
        window.SetMenuCaption(MenuItem::mEditZamenit, u"Заменить");
        dialog.onShow = [this] { dialogLayouts.push_back(ed.doc.EditorState); };
    }

    // A fresh document as loading leaves it: not modified, nothing to undo.
    void Load(std::u16string_view text) { rich.Load(std::u16string(text)); }

    std::vector<std::u16string> Messages() const {
        std::vector<std::u16string> texts;
        for (const auto& shown : messages.shown)
            texts.push_back(shown.text);
        return texts;
    }

    Editor& editor = ed;
    FakeFindDialog dialog;
    std::vector<int32_t> dialogLayouts; // EditorState each time the dialog opened
};

} // namespace quillet::testing
