#pragma once
// The Edit menu: its opening rule, the commands behind its items, and the key and mouse rules
// that make it the text control's context menu.

#include "editor/document/editor.h"

#include <cstdint>

namespace quillet {

// Virtual key codes the key rule looks at.
inline constexpr int32_t kKeyA = 65;
inline constexpr int32_t kKeyC = 67;
inline constexpr int32_t kKeyV = 86;
inline constexpr int32_t kKeyX = 88;
inline constexpr int32_t kKeyZ = 90;
inline constexpr int32_t kKeyDelete = 46;
inline constexpr int32_t kKeyF10 = 121;

// Items whose shortcut the key rule takes in the text control, so that it acts on the selection
// of the moment and not on the item's state from the last time the menu opened; the window
// gives them no accelerator of its own.
bool ShortcutFollowsSelection(MenuItem item);

// Runs each time the Edit menu is about to open, from the menu bar or as a context menu.
void OnEditMenuOpening(Editor& editor);

void OnUndo(Editor& editor);
void OnCut(Editor& editor);
void OnCopy(Editor& editor);
void OnPaste(Editor& editor);
void OnDelete(Editor& editor);
void OnSelectAll(Editor& editor);

// Before the control handles a key; true when the key is the Edit menu's and the control must
// not act on it. A command that runs out of memory tells the user and still takes its key.
bool OnTextKeyDown(Editor& editor, int32_t keyCode, int32_t shift);
void OnTextMouseDown(Editor& editor, int16_t button, int16_t shift, int32_t x, int32_t y);

} // namespace quillet
