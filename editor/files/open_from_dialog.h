#pragma once
// The Open command: the save-changes question, then a file picked in the Open dialog. A file
// dropped on the window opens the same way, without the dialog.

#include "editor/document/editor.h"

#include <string_view>

namespace quillet {

// Picks a file in the Open dialog, completes a name without extension with ".txt" and loads it.
void OpenDocumentFromDialog(Editor& editor);

void OnOpen(Editor& editor);

// A file dropped on the main window. Its name is used as it is: it names a file that exists, so
// no ".txt" is added as for a name typed into the dialog.
void OnFileDropped(Editor& editor, std::u16string_view path);

} // namespace quillet
