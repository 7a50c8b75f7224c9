#pragma once
// Writing the document to a path, with the user's say before anything is replaced
// or altered, and the written file becoming the current document.

#include "editor/document/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// The Save As flow. True when the document was written.
bool SaveDocumentAs(Editor& editor);

// Writes the document to path. True when it was written; otherwise the user said No, or a
// message has told why, and nothing but dialogFolder (moved by a dialog before) has changed.
bool SaveDocumentTo(Editor& editor, std::u16string_view path);

// Message texts, shared with the tests.
std::u16string OverwriteQuestion(std::u16string_view path);
std::u16string WriteProtectedMessage(std::u16string_view path);
std::u16string CannotSaveMessage(std::u16string_view path);
std::u16string UnencodableQuestion(std::u16string_view path);

void OnSave(Editor& editor);
void OnSaveAs(Editor& editor);

} // namespace quillet
