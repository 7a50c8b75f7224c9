#pragma once
// The current document's name and caption, and the document font on the text control.

#include "editor/document/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// "Квиллет" while untitled, else displayName + " - Квиллет".
std::u16string CaptionFor(const DocumentState& doc);

// A path as the current document's name: path, and dialogFolder and displayName split at the
// last separator. Built before a load or save changes anything, since building it takes memory
// and using it must not fail half-way.
struct DocumentName {
    std::u16string path;
    std::u16string folder;
    std::u16string displayName;
};
DocumentName NameFor(const DocumentState& doc, std::u16string_view path);

// Makes the name the current document's, then shows it in the caption. modified and undoAllowed
// are the caller's.
void UseDocumentName(Editor& editor, DocumentName&& name) noexcept;

// Shows the caption; a caption that cannot be built for want of memory stays as it was, which
// loses nothing.
void ShowCaption(Editor& editor, std::u16string_view caption) noexcept;

// Puts the document font onto the control without marking the document modified.
void ApplyDocumentFont(Editor& editor);

} // namespace quillet
