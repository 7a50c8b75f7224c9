#include "editor/edit/edit_menu.h"

#include "editor/core/raskladka.h"
#include "editor/edit/font_choice.h"

#include <new>
#include <optional>
#include <string>

namespace quillet {

namespace {

bool HasSelection(Editor& editor) {
    return editor.Rich().SelLength() > 0;
}

// Puts text on the clipboard while the Russian layout is active, so that programs which read
// the clipboard by the writer's input language see Cyrillic, then returns to exactly the layout
// the user had. False when it could not be written; the old content then stays.
bool CopyText(Editor& editor, const std::u16string& text) {
    Clipboard& clipboard = *editor.ports.clipboard;
    const int32_t code = CurrentLayoutCode(editor);
    if (code == kLayoutRussian)
        return clipboard.SetText(text);
    const uint32_t previous = SwitchLayout(editor);
    editor.Window().PumpMessages();
    bool written = clipboard.SetText(text);
    if (previous != 0) {
        editor.ports.layouts->Activate(previous);
        ShowLayoutCaption(editor, code);
    }
    return written;
}

// Cut, reporting nothing: the selection goes only once the clipboard holds it.
void Cut(Editor& editor) {
    if (CopyText(editor, editor.Rich().SelText()))
        editor.Rich().SetSelText(u"");
}

void Swallow(int16_t& keyCode, int16_t& shift) {
    keyCode = 0;
    shift = 0;
}

} // namespace

bool ShortcutFollowsSelection(MenuItem item) {
    return item == MenuItem::mEditCut || item == MenuItem::mEditCopy || item == MenuItem::mEditDelete;
}

void UndoText(Editor& editor, int32_t message) {
    if (message == kEmUndo)
        editor.Rich().Undo();
}

void frmForma_mEdit_Click(Editor& editor) {
    MainWindow& window = editor.Window();
    bool selected = HasSelection(editor);
    window.SetMenuEnabled(MenuItem::mEditCopy, selected);
    window.SetMenuEnabled(MenuItem::mEditCut, selected);
    window.SetMenuEnabled(MenuItem::mEditDelete, selected);
    window.SetMenuEnabled(MenuItem::mEditUndo, editor.doc.UndoAllowed == 1);
}

void frmForma_mEditUndo_Click(Editor& editor) {
    UndoText(editor, kEmUndo);
}

void frmForma_mEditCut_Click(Editor& editor) {
    Cut(editor);
}

void frmForma_mEditCopy_Click(Editor& editor) {
    CopyText(editor, editor.Rich().SelText());
}

void frmForma_mEditPaste_Click(Editor& editor) {
    // Plain text only: the clipboard port never hands over formatting. A clipboard that
    // cannot be read ends the command with the selection untouched.
    std::optional<std::u16string> text = editor.ports.clipboard->Text();
    if (!text)
        return;
    editor.Rich().SetSelText(*text);
    editor.Window().PumpMessages();
    try {
        ApplyDocumentFont(editor);
    } catch (const std::bad_alloc&) {
        // The text is in; the font it would re-apply is the one the control already has.
    }
}

void frmForma_mEditDelete_Click(Editor& editor) {
    editor.Rich().SetSelText(u"");
}

void frmForma_mEditSelectAll_Click(Editor& editor) {
    TextControl& rich = editor.Rich();
    rich.SetSelStart(0);
    rich.SetSelLength(rich.TextLength());
}

void frmForma_Rich_KeyDown(Editor& editor, int16_t& keyCode, int16_t& shift) {
    // Whole-value comparisons: Ctrl means Ctrl alone, so Ctrl+Shift+Z and Ctrl+Alt+V pass.
    if (shift == kCtrlMask) {
        if (editor.doc.UndoAllowed == 0 && keyCode == kKeyZ)
            Swallow(keyCode, shift);
        if (keyCode == kKeyV) {
            Swallow(keyCode, shift);
            frmForma_mEditPaste_Click(editor);
        } else if (keyCode == kKeyC || keyCode == kKeyX) {
            // The shortcuts follow the selection as it is now, not the menu items' states
            // from the last time the menu opened; with nothing selected they leave the
            // clipboard alone.
            bool cut = keyCode == kKeyX;
            Swallow(keyCode, shift);
            if (HasSelection(editor)) {
                if (cut)
                    frmForma_mEditCut_Click(editor);
                else
                    frmForma_mEditCopy_Click(editor);
            }
        } else if (keyCode == kKeyA) {
            Swallow(keyCode, shift);
            frmForma_mEditSelectAll_Click(editor);
        }
    } else if (shift == kShiftMask && keyCode == kKeyF10) {
        editor.Window().PopupEditMenu();
    } else if (shift == 0 && keyCode == kKeyDelete && HasSelection(editor)) {
        // With nothing selected Del goes on to the control and deletes the next character.
        Swallow(keyCode, shift);
        frmForma_mEditDelete_Click(editor);
    }
}

void frmForma_Rich_MouseDown(Editor& editor, int16_t button, int16_t /*shift*/, int32_t /*x*/,
                             int32_t /*y*/) {
    if (button == kRightButton)
        editor.Window().PopupEditMenu();
}

} // namespace quillet
