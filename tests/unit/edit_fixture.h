#pragma once
// The editor on fakes for the Edit and Format menus: Russian active of Russian and English, the
// document font Courier New 12, and the change handler noting for each Change whether the program
// was changing the control.

#include "fakes/editor_with_fakes.h"

#include <tuple>
#include <vector>

namespace quillet::testing {

class ChangeTracker : public TextEvents {
public:
    explicit ChangeTracker(Editor& editor) : TextEvents(editor), doc_(editor.doc) {}
    void OnChange() override {
        statesSeen.push_back(doc_.changingControl);
        TextEvents::OnChange();
    }
    std::vector<bool> statesSeen;

private:
    const DocumentState& doc_;
};

inline auto Fields(const FontSpec& f) {
    return std::tuple(f.name, f.size, f.bold, f.italic);
}

struct EditFixture : fakes::EditorWithFakes {
    EditFixture() {
        layouts = fakes::FakeKeyboardLayouts({fakes::kRussian, fakes::kEnglishUs}, 0);
        control.SetEvents(&tracker);
        ed.doc.font = {u"Courier New", 12, false, false};
    }
    ChangeTracker tracker{ed};
};

} // namespace quillet::testing
