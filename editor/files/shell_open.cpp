#include "editor/files/shell_open.h"

namespace quillet {

std::u16string ProgramFolder(const DocumentState& doc) {
    std::u16string folder = doc.programFolder;
    if (folder.size() < 2)
        return folder;
    char16_t last = folder.back();
    if ((last == u'\\' || last == u'/') && folder[folder.size() - 2] != u':')
        folder.pop_back();
    return folder;
}

void OpenWithShell(Editor& editor, std::u16string_view file) {
    editor.ports.shell.Open(file, ProgramFolder(editor.doc));
}

} // namespace quillet
