#include "editor/edit/format_menu.h"

#include "editor/document/document.h"

#include <algorithm>

namespace quillet {

void ApplyWordWrap(Editor& editor) {
    editor.Window().SetMenuChecked(MenuItem::WordWrap, editor.doc.wordWrap);
    editor.Text().SetWordWrap(editor.doc.wordWrap);
}

void OnWordWrap(Editor& editor) {
    editor.doc.wordWrap = !editor.doc.wordWrap;
    ApplyWordWrap(editor);
}

void OnFont(Editor& editor) {
    std::optional<FontSpec> chosen = editor.ports.fontDialog.PickFont(editor.doc.font);
    if (!chosen)
        return;
    chosen->name.resize(std::min(chosen->name.size(), kMaxFaceNameLength));
    editor.doc.font = std::move(*chosen);
    ApplyDocumentFont(editor);
}

} // namespace quillet
