#include "editor/core/edit_guard.h"

namespace quillet {

void ReportEditRefused(Editor& ed) {
    ed.ports.messages->Show(kEditRefused, kAppTitle,
                            {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
}

void ReportCommandFailed(Editor& ed) {
    ed.ports.messages->Show(kCommandFailed, kAppTitle,
                            {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
}

} // namespace quillet
