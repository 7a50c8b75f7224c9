#pragma once
// What the main window does on its own events: a change of size, a request to close, and the
// text control's changes, keys and clicks.

#include "editor/document/edit_guard.h"
#include "editor/document/editor.h"
#include "editor/edit/edit_menu.h"

#include <cstdint>

namespace quillet {

// The client area the window is created with.
inline constexpr int32_t kInitialClientWidth = 7230; // twips
inline constexpr int32_t kInitialClientHeight = 5010;

// After every change of the window's size or state: the text control fills the client area,
// and the normal size is remembered for the next run.
void OnResize(Editor& editor);

// Asked to close: a modified document is offered for saving first. False keeps the window open
// and writes nothing; true once the settings are written and the window may close.
bool OnCloseRequested(Editor& editor);

// Every change of the control's text or font, typed or written.
void OnTextChanged(Editor& editor);

void OnExit(Editor& editor);

// Routes the text control's events to the main window's handlers; the key and mouse rules are
// the edit commands'.
class TextEvents : public TextControlEvents {
public:
    explicit TextEvents(Editor& editor) : editor_(editor) {}
    void OnChange() override { OnTextChanged(editor_); }
    // Ctrl+V and the like edit the document from here.
    bool OnKeyDown(int32_t keyCode, int32_t shift) override { return OnTextKeyDown(editor_, keyCode, shift); }
    void OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) override {
        RunGuarded(editor_, [&] { OnTextMouseDown(editor_, button, shift, x, y); });
    }

private:
    Editor& editor_;
};

} // namespace quillet
