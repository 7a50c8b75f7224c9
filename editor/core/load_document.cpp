#include "editor/core/load_document.h"

#include "editor/core/frm_forma.h"

#include <new>
#include <string>

namespace quillet {

namespace {

void ReportLoadFailure(Editor& ed, std::u16string_view path, ReadStatus status) {
    std::u16string text = u"Файл \"";
    text += path;
    text += u"\"";
    switch (status) {
    case ReadStatus::NotFound: text += u" не найден."; break;
    case ReadStatus::TooLarge: text += u" слишком велик: открыть его не возможно."; break;
    default: text += u" открыть не возможно."; break;
    }
    ed.ports.messages->Show(text, kAppTitle, {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
    ed.doc.EditorState = kStateLoadFailed;
}

} // namespace

void LoadDocument(Editor& ed, std::u16string_view path) {
    // The name is made first: once the text is in, nothing may fail.
    DocumentName name;
    try {
        name = NameFor(ed.doc, ed.ports.files->FullPath(path));
    } catch (const std::bad_alloc&) {
        return ReportLoadFailure(ed, path, ReadStatus::TooLarge);
    }
    std::u16string text;
    {
        ReadResult file = ed.ports.files->ReadWhole(path);
        if (file.status != ReadStatus::Ok)
            return ReportLoadFailure(ed, path, file.status);
        // Converting doubles the size; running out of memory here leaves the old document alone.
        try {
            text = ed.ports.codec->Decode(file.bytes);
        } catch (const std::bad_alloc&) {
            return ReportLoadFailure(ed, path, ReadStatus::TooLarge);
        }
    } // the bytes are freed before the control takes its copy

    try {
        ed.Rich().SetText(std::move(text));
    } catch (const std::bad_alloc&) {
        return ReportLoadFailure(ed, path, ReadStatus::TooLarge);
    }
    // Opposite first, so the control applies the weight to the new text even when it believes
    // it already has it.
    Bool16 bold = ed.doc.FontBold;
    ed.Rich().SetFontBold(bold != kTrue);
    ed.Rich().SetFontBold(bold == kTrue);

    // The writes above raised Change; only now is the document unmodified. The document keeps its
    // full path: a relative one would name another file once a dialog moves the current folder.
    ed.doc.UndoAllowed = 0;
    ed.doc.Modified = 0;
    UseDocumentName(ed, std::move(name));
}

} // namespace quillet
