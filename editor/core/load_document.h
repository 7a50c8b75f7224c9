#pragma once
// Reading a text file whole into the control and making it the current document.

#include "editor/core/editor.h"

#include <string_view>

namespace quillet {

// Loads the ANSI text file at path (used exactly as given). On success the file is the current,
// unmodified document with Undo unavailable. On failure a message names the file, EditorState
// becomes 2 and nothing else changes: the previous document stays whole.
void LoadDocument(Editor& ed, std::u16string_view path);

} // namespace quillet
