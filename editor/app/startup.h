#pragma once
// The start-up routine: from the program's folder and command line to a shown, set-up window.

#include "editor/app/command_line.h"
#include "editor/document/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// Runs the start-up steps in their fixed order; returns once the window is shown and set up.
// programFolder is where the running program lives; commandLine is the text after its name.
void RunStartup(Editor& editor, std::u16string_view programFolder, std::u16string_view commandLine);

} // namespace quillet
