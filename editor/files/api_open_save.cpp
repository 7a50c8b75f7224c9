#include "editor/files/api_open_save.h"

namespace quillet {

namespace {

std::u16string FilterList() {
    std::u16string filter;
    for (std::u16string_view part : {u"Текстовый файл (*.txt)", u"*.txt", u"Все файлы (*.*)", u"*.*"}) {
        filter += part;
        filter += u'\0';
    }
    filter += u'\0';
    return filter;
}

} // namespace

FileDialogRecord MakeFileDialogRecord(const Editor& editor, bool isSave, std::u16string_view initialName) {
    FileDialogRecord record;
    record.save = isSave;
    record.filter = FilterList();
    record.filterIndex = 1;
    record.maxFile = kFileNameBuffer;
    record.maxFileTitle = kFileNameBuffer;
    // The name must leave room for its NUL; a longer one (a long command-line path) would have
    // the dialog read past the buffer, so the dialog opens with no name instead.
    bool fits =
        initialName.size() < size_t(kFileNameBuffer) && initialName.find(u'\0') == std::u16string_view::npos;
    if (fits)
        record.file = initialName;
    record.file.resize(size_t(kFileNameBuffer), u'\0');
    record.initialDir = editor.doc.DialogFolder;
    return record;
}

std::u16string ShowFileDialog(Editor& editor, int16_t isSave, std::u16string_view initialName) {
    if (!editor.ports.fileDialogs)
        return {};
    FileDialogRecord record = MakeFileDialogRecord(editor, isSave != 0, initialName);
    FileDialogResult result = editor.ports.fileDialogs->Show(record);
    if (result == FileDialogResult::NameTooLong) {
        // The dialog closed as if accepted; say why nothing happened.
        editor.ports.messages->Show(isSave ? kNameTooLongToSave : kNameTooLongToOpen, kAppTitle,
                                    {MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok});
        return {};
    }
    if (result != FileDialogResult::Accepted)
        return {};

    std::u16string path = record.file.substr(0, record.file.find(u'\0'));
    if (path.empty())
        return {};
    const std::u16string& separator = editor.doc.PathSeparator;
    size_t last = separator.empty() ? std::u16string::npos : path.rfind(separator);
    editor.doc.DialogFolder = last == std::u16string::npos ? std::u16string() : path.substr(0, last + 1);
    return path;
}

} // namespace quillet
