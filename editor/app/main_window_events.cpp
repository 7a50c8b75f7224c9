#include "editor/app/main_window_events.h"

#include "editor/app/settings.h"
#include "editor/files/save_changes.h"

namespace quillet {

void OnResize(Editor& editor) {
    MainWindow& window = editor.Window();
    WindowState state = window.State();
    if (state == WindowState::Minimized)
        return;
    editor.Text().Move(0, 0, window.ClientWidth(), window.ClientHeight());
    if (state == WindowState::Normal) {
        editor.doc.normalWidth = window.OuterWidth();
        editor.doc.normalHeight = window.OuterHeight();
    }
}

bool OnCloseRequested(Editor& editor) {
    if (editor.doc.modified && AskSaveChanges(editor) == SaveChangesAnswer::Stop)
        return false;
    SaveSettings(editor);
    return true;
}

void OnTextChanged(Editor& editor) {
    if (!editor.doc.changingControl) {
        editor.doc.undoAllowed = true;
        editor.doc.modified = true;
    }
}

void OnExit(Editor& editor) {
    editor.Window().RequestClose();
}

} // namespace quillet
