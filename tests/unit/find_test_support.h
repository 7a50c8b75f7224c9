#pragma once
// An Editor wired to fakes for the search tests, with the main window's change rule.

#include "editor/core/editor.h"
#include "fakes/cp1251_codec.h"
#include "fakes/fake_file_system.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_message_boxes.h"
#include "fakes/recording_text_control.h"

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

// Marks the document changed as the main window does, unless the program is changing the control.
class ChangeRule : public TextControlEvents {
public:
    explicit ChangeRule(DocumentState& doc) : doc_(doc) {}
    void OnChange() override {
        if (doc_.EditorState != kStateChangingControl)
            doc_.Modified = doc_.UndoAllowed = 1;
    }
    void OnKeyDown(int16_t&, int16_t&) override {}
    void OnMouseDown(int16_t, int16_t, int32_t, int32_t) override {}

private:
    DocumentState& doc_;
};

struct SearchWorld {
    SearchWorld() {
        editor.ports.rich = &rich;
        editor.ports.window = &window;
        editor.ports.messages = &messages;
        editor.ports.findDialog = &dialog;
        window.SetMenuCaption(MenuItem::mEditZamenit, u"Заменить");
        dialog.onShow = [this] { dialogLayouts.push_back(editor.doc.EditorState); };
        rich.SetEvents(&changeRule);
    }

    // A fresh document as loading leaves it: not modified, nothing to undo.
    void Load(std::u16string_view text) { rich.Load(std::u16string(text)); }

    std::vector<std::u16string> Messages() const {
        std::vector<std::u16string> texts;
        for (const auto& shown : messages.shown)
            texts.push_back(shown.text);
        return texts;
    }

    Editor editor;
    fakes::FakeFileSystem files;
    fakes::Cp1251Codec codec;
    fakes::RecordingTextControl rich{files, codec};
    fakes::FakeMainWindow window;
    fakes::FakeMessageBoxes messages;
    FakeFindDialog dialog;
    ChangeRule changeRule{editor.doc};
    std::vector<int32_t> dialogLayouts; // EditorState each time the dialog opened
};

} // namespace quillet::testing
