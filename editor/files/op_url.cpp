#include "editor/files/op_url.h"

namespace quillet {

std::u16string ProgramFolder(const DocumentState& doc) {
    std::u16string folder = doc.AppFolder;
    if (folder.size() < 2)
        return folder;
    char16_t last = folder.back();
    if ((last == u'\\' || last == u'/') && folder[folder.size() - 2] != u':')
        folder.pop_back();
    return folder;
}

void OpenUrl(Editor& ed, std::u16string_view file) {
    if (ed.ports.shell)
        ed.ports.shell->Open(file, ProgramFolder(ed.doc));
}

} // namespace quillet
