#pragma once
// Component SaveChangeM: the question asked before a modified document would be thrown away.

#include "editor/core/editor.h"

#include <cstdint>

namespace quillet {

// Asks whether to save the modified document. 1: the user cancelled, the caller stops; 0: the
// caller goes on.
int32_t AskSaveChanges(Editor& ed);

} // namespace quillet
