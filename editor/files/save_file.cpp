#include "editor/files/save_file.h"

#include "editor/document/document.h"
#include "editor/files/document_file.h"
#include "editor/files/file_extension.h"
#include "editor/files/file_name_dialog.h"

#include <new>

namespace quillet {

namespace {

std::u16string AboutFile(std::u16string_view path, std::u16string_view rest) {
    std::u16string text = u"Файл \"";
    text += path;
    text += u'"';
    text += rest;
    return text;
}

MessageAnswer Ask(Editor& editor, std::u16string_view text) {
    return editor.ports.messages.Show(text, kAppTitle,
                                      {MessageIcon::Warning, MessageButtons::YesNo, MessageAnswer::No});
}

} // namespace

std::u16string OverwriteQuestion(std::u16string_view path) {
    return AboutFile(path, u" уже существует.\r\nЗаменить его?");
}

std::u16string WriteProtectedMessage(std::u16string_view path) {
    return AboutFile(path, u" защищён от записи.");
}

std::u16string CannotSaveMessage(std::u16string_view path) {
    return AboutFile(path, u" сохранить не возможно.");
}

std::u16string UnencodableQuestion(std::u16string_view path) {
    return AboutFile(path, u": в тексте есть символы, которых нет в кодировке ANSI этой системы.\r\n"
                           u"При сохранении они будут заменены другими знаками.\r\nСохранить всё равно?");
}

bool SaveDocumentAs(Editor& editor) {
    std::optional<std::u16string> path = PickFileName(editor, FileDialogKind::Save, editor.doc.path);
    if (!path)
        return false;
    return SaveDocumentTo(editor, WithTxtExtension(std::move(*path), editor.doc.pathSeparator));
}

bool SaveDocumentTo(Editor& editor, std::u16string_view pathView) {
    // Our own copy: callers pass doc.path itself, which success overwrites.
    const std::u16string path(pathView);
    DocumentName name = NameFor(editor.doc, path);
    if (path != editor.doc.path && editor.ports.files.Exists(path)) {
        if (Ask(editor, OverwriteQuestion(path)) != MessageAnswer::Yes)
            return false;
    }
    // The code page may not hold every character typed or pasted; never drop them silently.
    // Encoding takes memory piece by piece; running out of it leaves the file as it was.
    WriteStatus status = WriteStatus::Failed;
    try {
        if (!FitsCodePage(editor.Text(), editor.ports.codec)) {
            if (Ask(editor, UnencodableQuestion(path)) != MessageAnswer::Yes)
                return false;
        }
        status = WriteText(editor.Text(), editor.ports.codec, editor.ports.files, path);
    } catch (const std::bad_alloc&) {
    }
    if (status != WriteStatus::Ok) {
        std::u16string text =
            status == WriteStatus::WriteProtected ? WriteProtectedMessage(path) : CannotSaveMessage(path);
        editor.ports.messages.Show(text, kAppTitle,
                                   {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
        return false;
    }
    editor.doc.modified = false;
    UseDocumentName(editor, std::move(name));
    return true;
}

void OnSave(Editor& editor) {
    if (!editor.doc.path.empty())
        SaveDocumentTo(editor, editor.doc.path);
    else
        SaveDocumentAs(editor);
}

void OnSaveAs(Editor& editor) {
    SaveDocumentAs(editor);
}

} // namespace quillet
