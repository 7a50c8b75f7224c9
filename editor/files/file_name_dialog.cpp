#include "editor/files/file_name_dialog.h"

#include "editor/base/path.h"
#include "editor/document/document.h"

namespace quillet {

std::optional<std::u16string> PickFileName(Editor& editor, FileDialogKind kind,
                                           std::u16string_view initialName) {
    PickedFile picked = editor.ports.fileDialogs.PickFile(kind, initialName, editor.doc.dialogFolder);
    if (picked.result == FileDialogResult::NameTooLong) {
        // The dialog closed as if accepted; say why nothing happened.
        editor.ports.messages.Show(kind == FileDialogKind::Save ? kNameTooLongToSave : kNameTooLongToOpen,
                                   kAppTitle, {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
        return std::nullopt;
    }
    if (picked.result != FileDialogResult::Accepted || picked.path.empty())
        return std::nullopt;
    editor.doc.dialogFolder = SplitPath(std::u16string_view(picked.path), std::u16string_view(editor.doc.pathSeparator)).folder;
    return std::move(picked.path);
}

} // namespace quillet
