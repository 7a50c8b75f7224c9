#pragma once
// The Edit menu: its opening rule, the commands behind its items, and the key and mouse rules
// that make it the text control's context menu.

#include "editor/document/editor.h"

#include <cstdint>

namespace quillet {

// Virtual key codes the key rule looks at.
inline constexpr int16_t kKeyA = 65;
inline constexpr int16_t kKeyC = 67;
inline constexpr int16_t kKeyV = 86;
inline constexpr int16_t kKeyX = 88;
inline constexpr int16_t kKeyZ = 90;
inline constexpr int16_t kKeyDelete = 46;
inline constexpr int16_t kKeyF10 = 121;

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

// Before the control handles a key; setting both to 0 swallows it.
void OnTextKeyDown(Editor& editor, int16_t& keyCode, int16_t& shift);
void OnTextMouseDown(Editor& editor, int16_t button, int16_t shift, int32_t x, int32_t y);

} // namespace quillet
