#include "editor/files/save_changes.h"

#include "editor/core/frm_forma.h"
#include "editor/files/save_file.h"

namespace quillet {

std::u16string SaveChangesQuestion(const DocumentState& doc) {
    return u"Сохранить изменение в файле" + doc.DisplayName + u"?";
}

int32_t AskSaveChanges(Editor& editor) {
    MessageAnswer answer =
        editor.ports.messages->Show(SaveChangesQuestion(editor.doc), kAppTitle,
                                    {MessageIcon::Warning, MessageButtons::YesNoCancel, MessageAnswer::Yes});
    if (answer == MessageAnswer::Cancel)
        return 1;
    if (answer == MessageAnswer::No)
        return 0;
    // Yes: go on only once the document is safely on disk; a cancelled dialog, a refused
    // question or a failed write keep it in the window.
    bool saved = editor.doc.CurrentFilePath.empty() ? SaveDocumentAs(editor)
                                                    : SaveDocumentTo(editor, editor.doc.CurrentFilePath);
    return saved ? 0 : 1;
}

void NewDocument(Editor& editor) {
    DocumentState& doc = editor.doc;
    if (doc.Modified == 1 && AskSaveChanges(editor) == 1)
        return;
    // The Change this raises marks the document modified; the state below clears it again. The
    // old name goes at once with the old text, so a save can never write the empty text over it.
    editor.Rich().SetText(std::u16string());
    doc.CurrentFilePath.clear();
    doc.DisplayName.clear();
    doc.UndoAllowed = 0;
    doc.Modified = 0;
    editor.search.FindNextStart = 0;
    ShowCaption(editor, kAppTitle);
}

void frmForma_mnuNew_Click(Editor& editor) {
    NewDocument(editor);
}

} // namespace quillet
