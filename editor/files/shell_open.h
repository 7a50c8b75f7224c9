#pragma once
// OpURL: the editor's one use of the shell's document-opening service.

#include "editor/document/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// The program's folder as the system reports it: AppFolder without its trailing separator,
// unless that would turn a root ("C:\", "/") into something else.
std::u16string ProgramFolder(const DocumentState& doc);

// Asks the shell to open file (a path or a web address) with its associated program, from the
// program's folder. The outcome is the shell's to report.
void OpenWithShell(Editor& editor, std::u16string_view file);

} // namespace quillet
