#pragma once
// The start-up routine: from the program's folder and command line to a shown, set-up window.

#include "editor/core/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// The document path in the command-line text: one leading and then one trailing double quote
// dropped, the rest taken whole (spaces and inner quotes included).
std::u16string DocumentPathFromCommandLine(std::u16string_view commandLine);

// Runs the start-up steps in their fixed order; returns once the window is shown and set up.
// programFolder is where the running program lives; commandLine is the text after its name.
void RunStartup(Editor& ed, std::u16string_view programFolder, std::u16string_view commandLine);

} // namespace quillet
