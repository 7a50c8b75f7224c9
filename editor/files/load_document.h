#pragma once
// Reading a text file whole into the control and making it the current document.

#include "editor/document/editor.h"

#include <string_view>

namespace quillet {

// Loads the ANSI text file at path (used exactly as given). On success the file is the current,
// unmodified document with Undo unavailable. On failure a message names the file, nothing else
// changes (the previous document stays whole) and the answer is false.
bool LoadDocument(Editor& editor, std::u16string_view path);

} // namespace quillet
