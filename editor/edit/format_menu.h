#pragma once
// The Format menu's word wrap and font.

#include "editor/document/editor.h"

#include <cstddef>

namespace quillet {

// Longest face name kept from the font the platform created.
inline constexpr size_t kMaxFaceNameLength = 79;

// Shows the document's word wrap on the control and in the menu's check mark.
void ApplyWordWrap(Editor& editor);

// Word wrap on or off.
void OnWordWrap(Editor& editor);

// The font dialog, started from the document font; a confirmed choice becomes the document font.
void OnFont(Editor& editor);

} // namespace quillet
