#include "editor/edit/edit_menu.h"

#include "editor/document/document.h"
#include "editor/document/edit_guard.h"
#include "editor/edit/keyboard_layout.h"

#include <new>
#include <optional>
#include <string>

namespace quillet {

namespace {

bool HasSelection(Editor& editor) {
    return editor.Text().SelLength() > 0;
}

// Puts text on the clipboard while the Russian layout is active, so that programs which read
// the clipboard by the writer's input language see Cyrillic, then returns to exactly the layout
// the user had. False when it could not be written; the old content then stays.
bool CopyText(Editor& editor, const std::u16string& text) {
    Clipboard& clipboard = editor.ports.clipboard;
    const int32_t code = CurrentLayoutCode(editor);
    if (code == kLayoutRussian)
        return clipboard.SetText(text);
    // The layout is the thread's as soon as it is activated: nothing needs to be processed
    // before the clipboard is written.
    const uint32_t previous = SwitchLayout(editor);
    bool written = clipboard.SetText(text);
    if (previous != 0) {
        editor.ports.layouts.Activate(previous);
        ShowLayoutCaption(editor, code);
    }
    return written;
}

// Cut, reporting nothing: the selection goes only once the clipboard holds it.
void Cut(Editor& editor) {
    if (CopyText(editor, editor.Text().SelText()))
        editor.Text().SetSelText(u"");
}

// Runs a command the key rule took from the control.
void RunForKey(Editor& editor, void (*command)(Editor&)) {
    RunGuarded(editor, [&] { command(editor); });
}

} // namespace

bool ShortcutFollowsSelection(MenuItem item) {
    return item == MenuItem::Cut || item == MenuItem::Copy || item == MenuItem::Delete;
}

void OnEditMenuOpening(Editor& editor) {
    MainWindow& window = editor.Window();
    bool selected = HasSelection(editor);
    window.SetMenuEnabled(MenuItem::Copy, selected);
    window.SetMenuEnabled(MenuItem::Cut, selected);
    window.SetMenuEnabled(MenuItem::Delete, selected);
    window.SetMenuEnabled(MenuItem::Undo, editor.doc.undoAllowed);
}

void OnUndo(Editor& editor) {
    editor.Text().Undo();
}

void OnCut(Editor& editor) {
    Cut(editor);
}

void OnCopy(Editor& editor) {
    CopyText(editor, editor.Text().SelText());
}

void OnPaste(Editor& editor) {
    // Plain text only: the clipboard port never hands over formatting. A clipboard that
    // cannot be read ends the command with the selection untouched.
    std::optional<std::u16string> text = editor.ports.clipboard.Text();
    if (!text)
        return;
    editor.Text().SetSelText(*text);
    try {
        ApplyDocumentFont(editor);
    } catch (const std::bad_alloc&) {
        // The text is in; the font it would re-apply is the one the control already has.
    }
}

void OnDelete(Editor& editor) {
    editor.Text().SetSelText(u"");
}

void OnSelectAll(Editor& editor) {
    TextControl& control = editor.Text();
    control.SetSelStart(0);
    control.SetSelLength(control.TextLength());
}

bool OnTextKeyDown(Editor& editor, int32_t keyCode, int32_t shift) {
    // Whole-value comparisons: Ctrl means Ctrl alone, so Ctrl+Shift+Z and Ctrl+Alt+V pass.
    if (shift == kCtrlMask) {
        switch (keyCode) {
        case kKeyZ: return !editor.doc.undoAllowed; // nothing of the user's to undo yet
        case kKeyV: RunForKey(editor, OnPaste); return true;
        case kKeyC:
        case kKeyX:
            // The shortcuts follow the selection as it is now, not the menu items' states from
            // the last time the menu opened; with nothing selected they leave the clipboard alone.
            if (HasSelection(editor))
                RunForKey(editor, keyCode == kKeyX ? OnCut : OnCopy);
            return true;
        case kKeyA: RunForKey(editor, OnSelectAll); return true;
        default: return false;
        }
    }
    if (shift == kShiftMask && keyCode == kKeyF10) {
        editor.Window().PopupEditMenu(); // the key goes on to the control too
        return false;
    }
    if (shift == 0 && keyCode == kKeyDelete && HasSelection(editor)) {
        // With nothing selected Del goes on to the control and deletes the next character.
        RunForKey(editor, OnDelete);
        return true;
    }
    return false;
}

void OnTextMouseDown(Editor& editor, int16_t button, int16_t /*shift*/, int32_t /*x*/, int32_t /*y*/) {
    if (button == kRightButton)
        editor.Window().PopupEditMenu();
}

} // namespace quillet
