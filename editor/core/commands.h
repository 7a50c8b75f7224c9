#pragma once
// Which handler each menu item runs. An item whose command has not been built has none and is
// shown disabled, never as a silent no-op.

#include "editor/core/editor.h"

namespace quillet {

using CommandHandler = void (*)(Editor&);

// The handler behind a menu item, or null (menus themselves, separators, unbuilt commands).
CommandHandler CommandFor(MenuItem item);

// The item has a handler and the editor has the ports it works through.
bool CommandReady(const Editor& ed, MenuItem item);

// Runs the item's handler; false when it has none or it is not ready.
bool RunCommand(Editor& ed, MenuItem item);

// Enables every command item that is ready and disables the rest; menus stay enabled.
void ApplyCommandAvailability(Editor& ed);

// Called as a menu drops down (or the Edit menu pops up as a context menu), before it shows.
void OnMenuOpening(Editor& ed, MenuItem menu);

// Every item of the menu bar, in order; the four menus are kMenus.
inline constexpr MenuItem kMenus[] = {MenuItem::mnuFile, MenuItem::mEdit, MenuItem::mFormat, MenuItem::Help};
inline constexpr MenuItem kCommandItems[] = {
    MenuItem::mnuNew,        MenuItem::mnuOpen,        MenuItem::mnuSave,
    MenuItem::mnuSaveAs,     MenuItem::mnuExit,        MenuItem::mEditUndo,
    MenuItem::mEditCut,      MenuItem::mEditCopy,      MenuItem::mEditPaste,
    MenuItem::mEditDelete,   MenuItem::mEditSelectAll, MenuItem::mEditFind,
    MenuItem::mEditFindNext, MenuItem::mEditZamenit,   MenuItem::mFormatPerenosSlov,
    MenuItem::mFormatFont,   MenuItem::mFormatKlava,   MenuItem::HelpCallHelp,
    MenuItem::HelpOprog,     MenuItem::HelpMySoft,
};

} // namespace quillet
