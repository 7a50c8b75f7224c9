#pragma once
// The menu bar: every menu and item with its caption, access key, shown shortcut
// and accelerator, and the mapping between command ids and MenuItem.

#include "editor/document/editor.h"
#include "editor/platform/main_window.h"

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

namespace quillet::win32 {

struct MenuEntry {
    MenuItem item;
    std::u16string_view caption;  // empty for a separator
    std::u16string_view shortcut; // shown after a tab; empty for none
    WORD key = 0;                 // accelerator virtual key, 0 for none
    BYTE modifiers = 0;           // FCONTROL and the like
    bool separator = false;
};

struct MenuDefinition {
    MenuItem menu;
    std::u16string_view caption;
    std::span<const MenuEntry> entries;
};

std::span<const MenuDefinition> MenuBarDefinition();

UINT CommandId(MenuItem item);
std::optional<MenuItem> ItemFromCommand(UINT id);
// The entry of a command item, or null for the four menus.
const MenuEntry* FindEntry(MenuItem item);
// The menu an item sits in and the menu's position on the bar.
int MenuPosition(MenuItem menu);

// Builds the whole bar, captions exactly as defined, "Перенос по словам" checked.
HMENU BuildMenuBar();
// Accelerators for the items that have a shortcut of their own; the caller destroys the table.
HACCEL BuildAccelerators();

} // namespace quillet::win32
