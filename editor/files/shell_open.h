#pragma once
// The editor's one use of the shell's document-opening service.

#include "editor/document/editor.h"

#include <string_view>

namespace quillet {

// Asks the shell to open file (a path or a web address) with its associated program, from the
// program's folder. The outcome is the shell's to report.
void OpenWithShell(Editor& editor, std::u16string_view file);

} // namespace quillet
