#include "editor/app/commands.h"

#include "editor/app/main_window_events.h"
#include "editor/document/edit_guard.h"
#include "editor/edit/edit_menu.h"
#include "editor/edit/format_menu.h"
#include "editor/edit/keyboard_layout.h"
#include "editor/files/help_menu.h"
#include "editor/files/open_from_dialog.h"
#include "editor/files/save_changes.h"
#include "editor/files/save_file.h"
#include "editor/find/search.h"

namespace quillet {

CommandHandler CommandFor(MenuItem item) {
    switch (item) {
    case MenuItem::New: return OnNew;
    case MenuItem::Open: return OnOpen;
    case MenuItem::Save: return OnSave;
    case MenuItem::SaveAs: return OnSaveAs;
    case MenuItem::Exit: return OnExit;
    case MenuItem::WordWrap: return OnWordWrap;
    case MenuItem::KeyboardLayout: return OnKeyboardLayout;
    case MenuItem::Undo: return OnUndo;
    case MenuItem::Cut: return OnCut;
    case MenuItem::Copy: return OnCopy;
    case MenuItem::Paste: return OnPaste;
    case MenuItem::Delete: return OnDelete;
    case MenuItem::SelectAll: return OnSelectAll;
    case MenuItem::Font: return OnFont;
    case MenuItem::Find: return OnFind;
    case MenuItem::FindNext: return OnFindNext;
    case MenuItem::Replace: return OnReplace;
    case MenuItem::Help: return OnHelp;
    case MenuItem::About: return OnAbout;
    case MenuItem::MyPrograms: return OnMyPrograms;
    default: return nullptr;
    }
}

bool RunCommand(Editor& editor, MenuItem item) {
    CommandHandler handler = CommandFor(item);
    if (!handler)
        return false;
    RunGuarded(editor, [&] { handler(editor); });
    return true;
}

void OnMenuOpening(Editor& editor, MenuItem menu) {
    if (menu == MenuItem::EditMenu)
        OnEditMenuOpening(editor);
}

} // namespace quillet
