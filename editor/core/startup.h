#pragma once
// The start-up routine: from the program's folder and command line to a shown, set-up window.

#include "editor/core/command_line.h"
#include "editor/core/editor.h"

#include <string>
#include <string_view>

namespace quillet {

// Runs the start-up steps in their fixed order; returns once the window is shown and set up.
// programFolder is where the running program lives; commandLine is the text after its name.
void RunStartup(Editor& ed, std::u16string_view programFolder, std::u16string_view commandLine);

} // namespace quillet
