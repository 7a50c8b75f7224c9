#pragma once
// The Open command: the save-changes question, then a file picked in the Open dialog.

#include "editor/document/editor.h"

namespace quillet {

// Picks a file in the Open dialog, completes a name without extension with ".txt" and loads it.
void OpenDocumentFromDialog(Editor& editor);

void OnOpen(Editor& editor);

} // namespace quillet
