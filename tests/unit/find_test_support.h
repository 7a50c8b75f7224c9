#pragma once
// An Editor wired to fakes for the search tests, with the main window's change handler.

#include "editor/core/editor.h"
#include "editor/core/frm_forma.h"
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

struct SearchWorld {
    SearchWorld() {
        editor.ports.rich = &rich;
        editor.ports.window = &window;
        editor.ports.messages = &messages;
        editor.ports.findDialog = &dialog;
        window.SetMenuCaption(MenuItem::mEditZamenit, u"Заменить");
        dialog.onShow = [this] { dialogLayouts.push_back(editor.doc.EditorState); };
        rich.SetEvents(&richEvents);
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
    RichEvents richEvents{editor};
    std::vector<int32_t> dialogLayouts; // EditorState each time the dialog opened
};

} // namespace quillet::testing
