#include "editor/files/open_from_dialog.h"

#include "editor/files/file_extension.h"
#include "editor/files/file_name_dialog.h"
#include "editor/files/load_document.h"
#include "editor/files/save_changes.h"

namespace quillet {

void OpenDocumentFromDialog(Editor& editor) {
    if (std::optional<std::u16string> path = PickFileName(editor, FileDialogKind::Open, u""))
        LoadDocument(editor, WithTxtExtension(std::move(*path), editor.doc.pathSeparator));
}

void OnOpen(Editor& editor) {
    // The question comes before the dialog.
    if (editor.doc.modified && AskSaveChanges(editor) == SaveChangesAnswer::Stop)
        return;
    OpenDocumentFromDialog(editor);
}

} // namespace quillet
