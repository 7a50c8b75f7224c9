#include "editor/files/open_from_dialog.h"

#include "editor/core/load_document.h"
#include "editor/files/api_open_save.h"
#include "editor/files/poisk_tochki.h"
#include "editor/files/save_changes.h"

namespace quillet {

void OpenDocumentFromDialog(Editor& editor) {
    std::u16string path = ShowFileDialog(editor, 0, u"");
    if (path.empty())
        return;
    LoadDocument(editor, WithTxtExtension(std::move(path), editor.doc.PathSeparator));
}

void frmForma_mnuOpen_Click(Editor& editor) {
    // The question comes before the dialog.
    if (editor.doc.Modified == 1 && AskSaveChanges(editor) == 1)
        return;
    OpenDocumentFromDialog(editor);
}

} // namespace quillet
