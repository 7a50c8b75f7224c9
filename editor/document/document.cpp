#include "editor/document/document.h"

#include "editor/base/path.h"

#include <new>

namespace quillet {

std::u16string CaptionFor(const DocumentState& doc) {
    if (doc.displayName.empty())
        return kAppTitle;
    return doc.displayName + u" - " + kAppTitle;
}

DocumentName NameFor(const DocumentState& doc, std::u16string_view path) {
    PathParts parts = SplitPath(path, std::u16string_view(doc.pathSeparator));
    return {std::u16string(path), std::u16string(parts.folder), u" " + std::u16string(parts.name)};
}

void UseDocumentName(Editor& editor, DocumentName&& name) noexcept {
    DocumentState& doc = editor.doc;
    doc.path = std::move(name.path);
    doc.dialogFolder = std::move(name.folder);
    doc.displayName = std::move(name.displayName);
    try {
        ShowCaption(editor, CaptionFor(doc));
    } catch (const std::bad_alloc&) {
    }
}

void ShowCaption(Editor& editor, std::u16string_view caption) noexcept {
    try {
        editor.Window().SetCaption(caption);
    } catch (const std::bad_alloc&) {
    }
}

void ApplyDocumentFont(Editor& editor) {
    const FontSpec& font = editor.doc.font;
    TextControl& control = editor.Text();
    ProgramChangingControl changing(editor.doc);
    control.SetFontName(font.name);
    control.SetFontSize(font.size);
    control.SetFontBold(font.bold);
    control.SetFontItalic(font.italic);
}

} // namespace quillet
