#include "editor/core/commands.h"

#include "editor/core/edit_guard.h"
#include "editor/core/frm_forma.h"
#include "editor/core/raskladka.h"
#include "editor/edit/edit_menu.h"
#include "editor/edit/font_choice.h"
#include "editor/files/help_menu.h"
#include "editor/files/open_from_dialog.h"
#include "editor/files/save_changes.h"
#include "editor/files/save_file.h"
#include "editor/find/search.h"

namespace quillet {

CommandHandler CommandFor(MenuItem item) {
    // Each command joins this list when its work lands.
    switch (item) {
    case MenuItem::mnuNew: return frmForma_mnuNew_Click;
    case MenuItem::mnuOpen: return frmForma_mnuOpen_Click;
    case MenuItem::mnuSave: return frmForma_mnuSave_Click;
    case MenuItem::mnuSaveAs: return frmForma_mnuSaveAs_Click;
    case MenuItem::mnuExit: return frmForma_mnuExit_Click;
    case MenuItem::mFormatPerenosSlov: return frmForma_mFormatPerenosSlov_Click;
    case MenuItem::mFormatKlava: return frmForma_mFormatKlava_Click;
    case MenuItem::mEditUndo: return frmForma_mEditUndo_Click;
    case MenuItem::mEditCut: return frmForma_mEditCut_Click;
    case MenuItem::mEditCopy: return frmForma_mEditCopy_Click;
    case MenuItem::mEditPaste: return frmForma_mEditPaste_Click;
    case MenuItem::mEditDelete: return frmForma_mEditDelete_Click;
    case MenuItem::mEditSelectAll: return frmForma_mEditSelectAll_Click;
    case MenuItem::mFormatFont: return frmForma_mFormatFont_Click;
    case MenuItem::mEditFind: return frmForma_mEditFind_Click;
    case MenuItem::mEditFindNext: return frmForma_mEditFindNext_Click;
    case MenuItem::mEditZamenit: return frmForma_mEditZamenit_Click;
    case MenuItem::HelpCallHelp: return frmForma_HelpCallHelp_Click;
    case MenuItem::HelpOprog: return frmForma_HelpOprog_Click;
    case MenuItem::HelpMySoft: return frmForma_HelpMySoft_Click;
    default: return nullptr;
    }
}

bool RunCommand(Editor& ed, MenuItem item) {
    if (!CommandReady(ed, item))
        return false;
    RunGuarded(ed, [&] { CommandFor(item)(ed); });
    return true;
}

bool CommandReady(const Editor& ed, MenuItem item) {
    if (!CommandFor(item))
        return false;
    // A shell that has no adapter yet for a service a command works through shows it disabled
    // rather than letting it fail.
    const Ports& p = ed.ports;
    switch (item) {
    case MenuItem::mEditCut:
    case MenuItem::mEditCopy:
    case MenuItem::mEditPaste: return p.clipboard && p.layouts;
    case MenuItem::mFormatFont: return p.fontDialog != nullptr;
    case MenuItem::mEditFind:
    case MenuItem::mEditFindNext:
    case MenuItem::mEditZamenit: return p.findDialog != nullptr;
    case MenuItem::mnuNew:
    case MenuItem::mnuOpen:
    case MenuItem::mnuSave:
    case MenuItem::mnuSaveAs: return p.fileDialogs && p.files && p.codec;
    case MenuItem::HelpCallHelp:
    case MenuItem::HelpMySoft: return p.shell && p.files && p.codec;
    case MenuItem::HelpOprog: return p.about != nullptr;
    default: return true;
    }
}

void ApplyCommandAvailability(Editor& ed) {
    for (MenuItem item : kCommandItems)
        ed.Window().SetMenuEnabled(item, CommandReady(ed, item));
}

void OnMenuOpening(Editor& ed, MenuItem menu) {
    if (menu == MenuItem::mEdit)
        frmForma_mEdit_Click(ed);
}

} // namespace quillet
