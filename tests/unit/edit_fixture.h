#pragma once
// What the edit command tests share: an editor on fakes, with the document model recording undo
// requests and, at every Change, what the main window's change handler would do.

#include "editor/core/editor.h"
#include "editor/core/frm_forma.h"
#include "fakes/cp1251_codec.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_font_dialog.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_main_window.h"
#include "fakes/recording_text_control.h"

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

struct EditFixture {
    EditFixture() {
        editor.ports.rich = &rich;
        editor.ports.window = &window;
        editor.ports.clipboard = &clipboard;
        editor.ports.layouts = &layouts;
        editor.ports.fontDialog = &fontDialog;
        rich.SetEvents(&tracker);
        editor.doc.FontName = u"Courier New";
        editor.doc.FontSize = 12;
    }

    void SetText(std::u16string text) { rich.Load(std::move(text)); }

    Editor editor;
    fakes::FakeFileSystem files;
    fakes::Cp1251Codec codec;
    fakes::RecordingTextControl rich{files, codec};
    fakes::FakeMainWindow window;
    fakes::FakeClipboard clipboard;
    fakes::FakeKeyboardLayouts layouts{{fakes::kRussian, fakes::kEnglishUs}, 0};
    fakes::FakeFontDialog fontDialog;
    ChangeTracker tracker{editor};
};

} // namespace quillet::testing
