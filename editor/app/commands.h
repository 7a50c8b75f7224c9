#pragma once
// Which handler each menu item runs.

#include "editor/document/editor.h"

namespace quillet {

using CommandHandler = void (*)(Editor&);

// The handler behind a menu item, or null for the menus themselves.
CommandHandler CommandFor(MenuItem item);

// Runs the item's handler, telling the user once when it runs out of memory; false when the
// item has none.
bool RunCommand(Editor& editor, MenuItem item);

// Called as a menu drops down (or the Edit menu pops up as a context menu), before it shows.
void OnMenuOpening(Editor& editor, MenuItem menu);

} // namespace quillet
