#include "editor/core/commands.h"

#include "editor/core/frm_forma.h"
#include "editor/core/raskladka.h"

namespace quillet {

CommandHandler CommandFor(MenuItem item) {
    // Each command joins this list when its work lands.
    switch (item) {
    case MenuItem::mnuExit: return frmForma_mnuExit_Click;
    case MenuItem::mFormatPerenosSlov: return frmForma_mFormatPerenosSlov_Click;
    case MenuItem::mFormatKlava: return frmForma_mFormatKlava_Click;
    default: return nullptr;
    }
}

bool RunCommand(Editor& ed, MenuItem item) {
    CommandHandler handler = CommandFor(item);
    if (!handler)
        return false;
    handler(ed);
    return true;
}

void ApplyCommandAvailability(Editor& ed) {
    for (MenuItem item : kCommandItems)
        ed.Window().SetMenuEnabled(item, CommandFor(item) != nullptr);
}

void OnMenuOpening(Editor& ed, MenuItem menu) {
    // No menu has an opening rule of its own yet; the Edit menu's joins here.
    (void)ed;
    (void)menu;
}

} // namespace quillet
