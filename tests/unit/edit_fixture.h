#pragma once
// What the edit command tests share: the editor on fakes with a font dialog, Russian active of
// Russian and English, and the main window's change handler noting each Change.

#include "editor/core/frm_forma.h"
#include "fakes/editor_with_fakes.h"
#include "fakes/fake_font_dialog.h"

#include <string>
#include <vector>

namespace quillet::testing {

// The main window's change handler, noting the state each Change arrived in.
class ChangeTracker : public RichEvents {
public:
    explicit ChangeTracker(Editor& editor) : RichEvents(editor), doc_(editor.doc) {}
    void OnChange() override {
        statesSeen.push_back(doc_.EditorState);
        RichEvents::OnChange();
    }
    std::vector<int32_t> statesSeen;

private:
    const DocumentState& doc_;
};

struct EditFixture : fakes::EditorWithFakes {
    EditFixture() {
        ed.ports.fontDialog = &fontDialog;
        layouts = fakes::FakeKeyboardLayouts({fakes::kRussian, fakes::kEnglishUs}, 0);
        rich.SetEvents(&tracker);
        ed.doc.FontName = u"Courier New";
        ed.doc.FontSize = 12;
    }

    void SetText(std::u16string text) { rich.Load(std::move(text)); }

    Editor& editor = ed;
    fakes::FakeFontDialog fontDialog;
    ChangeTracker tracker{ed};
};

} // namespace quillet::testing
