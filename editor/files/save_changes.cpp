#include "editor/files/save_changes.h"

namespace quillet {

int32_t AskSaveChanges(Editor& ed) {
    // Saving has not been built yet: keep the window and the text rather than lose the changes.
    ed.ports.messages->Show(u"Сохранение пока недоступно, поэтому изменённый документ остаётся открытым.",
                            kAppTitle, {MessageIcon::Information, MessageButtons::Ok, MessageAnswer::Ok});
    return 1;
}

} // namespace quillet
