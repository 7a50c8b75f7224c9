#include "editor/files/load_document.h"

#include "editor/document/document.h"

#include <new>
#include <string>

namespace quillet {

namespace {

bool ReportLoadFailure(Editor& editor, std::u16string_view path, ReadStatus status) {
    std::u16string text = u"Файл \"";
    text += path;
    text += u"\"";
    switch (status) {
    case ReadStatus::NotFound: text += u" не найден."; break;
    case ReadStatus::TooLarge: text += u" слишком велик: открыть его не возможно."; break;
    default: text += u" открыть не возможно."; break;
    }
    editor.ports.messages.Show(text, kAppTitle, {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
    return false;
}

} // namespace

bool LoadDocument(Editor& editor, std::u16string_view path) {
    // The name is made first: once the text is in, nothing may fail.
    DocumentName name;
    try {
        name = NameFor(editor.doc, editor.ports.files.FullPath(path));
    } catch (const std::bad_alloc&) {
        return ReportLoadFailure(editor, path, ReadStatus::TooLarge);
    }
    std::u16string text;
    {
        ReadResult file = editor.ports.files.ReadWhole(path);
        if (file.status != ReadStatus::Ok)
            return ReportLoadFailure(editor, path, file.status);
        // Converting doubles the size; running out of memory here leaves the old document alone.
        try {
            text.reserve(file.bytes.size() + SpareRoomFor(file.bytes.size()));
            editor.ports.codec.Decode(file.bytes, text);
        } catch (const std::bad_alloc&) {
            return ReportLoadFailure(editor, path, ReadStatus::TooLarge);
        }
    } // the bytes are freed before the control takes its copy

    try {
        editor.Text().SetText(std::move(text));
    } catch (const std::bad_alloc&) {
        return ReportLoadFailure(editor, path, ReadStatus::TooLarge);
    }
    try {
        ApplyDocumentFont(editor);
    } catch (const std::bad_alloc&) {
        // The new text is in; the font is the one the control already has.
    }

    // The writes above raised Change; only now is the document unmodified. The document keeps its
    // full path: a relative one would name another file once a dialog moves the current folder.
    editor.doc.undoAllowed = false;
    editor.doc.modified = false;
    UseDocumentName(editor, std::move(name));
    return true;
}

} // namespace quillet
