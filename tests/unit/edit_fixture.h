#pragma once
// What the edit command tests share: the editor on fakes with a font dialog, Russian active of
// Russian and English, and the main window's change handler noting each Change.

#include "editor/app/main_window_events.h"
#include "fakes/editor_with_fakes.h"
#include "fakes/fake_font_dialog.h"

#include <string>
#include <vector>

namespace quillet::testing {

// The main window's change handler, noting for each Change whether the program was changing the
// control.
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

struct EditFixture : fakes::EditorWithFakes {
    EditFixture() {
        layouts = fakes::FakeKeyboardLayouts({fakes::kRussian, fakes::kEnglishUs}, 0);
        control.SetEvents(&tracker);
        ed.doc.font.name = u"Courier New";
        ed.doc.font.size = 12;
    }

    void SetText(std::u16string text) { control.Load(std::move(text)); }

    Editor& editor = ed;
    ChangeTracker tracker{ed};
};

} // namespace quillet::testing
