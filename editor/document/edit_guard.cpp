#include "editor/document/edit_guard.h"

namespace quillet {

void ReportEditRefused(Editor& editor) {
    editor.ports.messages.Show(kEditRefused, kAppTitle,
                               {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
}

void ReportCommandFailed(Editor& editor) {
    editor.ports.messages.Show(kCommandFailed, kAppTitle,
                               {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
}

} // namespace quillet
