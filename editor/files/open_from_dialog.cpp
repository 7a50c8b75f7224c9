#include "editor/files/open_from_dialog.h"

#include "editor/files/file_extension.h"
#include "editor/files/file_name_dialog.h"
#include "editor/files/load_document.h"
#include "editor/files/save_changes.h"

namespace quillet {
namespace {

// False when the user keeps the modified document: Cancel, or a save that did not happen.
bool MayReplaceDocument(Editor& editor) {
    return !editor.doc.modified || AskSaveChanges(editor) == SaveChangesAnswer::GoOn;
}

} // namespace

void OpenDocumentFromDialog(Editor& editor) {
    if (std::optional<std::u16string> path = PickFileName(editor, FileDialogKind::Open, u""))
        LoadDocument(editor, WithTxtExtension(std::move(*path), editor.doc.pathSeparator));
}

void OnOpen(Editor& editor) {
    // The question comes before the dialog.
    if (MayReplaceDocument(editor))
        OpenDocumentFromDialog(editor);
}

void OnFileDropped(Editor& editor, std::u16string_view path) {
    if (MayReplaceDocument(editor))
        LoadDocument(editor, path);
}

} // namespace quillet
