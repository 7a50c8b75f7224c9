#include "editor/files/save_changes.h"

#include "editor/document/document.h"
#include "editor/files/save_file.h"

namespace quillet {

std::u16string SaveChangesQuestion(const DocumentState& doc) {
    return u"Сохранить изменение в файле" + doc.displayName + u"?";
}

SaveChangesAnswer AskSaveChanges(Editor& editor) {
    MessageAnswer answer =
        editor.ports.messages.Show(SaveChangesQuestion(editor.doc), kAppTitle,
                                   {MessageIcon::Warning, MessageButtons::YesNoCancel, MessageAnswer::Yes});
    if (answer == MessageAnswer::Cancel)
        return SaveChangesAnswer::Stop;
    if (answer == MessageAnswer::No)
        return SaveChangesAnswer::GoOn;
    // Yes: go on only once the document is safely on disk; a cancelled dialog, a refused
    // question or a failed write keep it in the window.
    bool saved = editor.doc.path.empty() ? SaveDocumentAs(editor) : SaveDocumentTo(editor, editor.doc.path);
    return saved ? SaveChangesAnswer::GoOn : SaveChangesAnswer::Stop;
}

void NewDocument(Editor& editor) {
    DocumentState& doc = editor.doc;
    if (doc.modified && AskSaveChanges(editor) == SaveChangesAnswer::Stop)
        return;
    // The Change this raises marks the document modified; the state below clears it again. The
    // old name goes at once with the old text, so a save can never write the empty text over it.
    editor.Text().SetText(std::u16string());
    doc.path.clear();
    doc.displayName.clear();
    doc.undoAllowed = false;
    doc.modified = false;
    editor.search.nextStart = 0;
    ShowCaption(editor, kAppTitle);
}

void OnNew(Editor& editor) {
    NewDocument(editor);
}

} // namespace quillet
