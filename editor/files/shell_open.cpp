#include "editor/files/shell_open.h"

#include "editor/base/path.h"

namespace quillet {

void OpenWithShell(Editor& editor, std::u16string_view file) {
    // The program's folder as the system reports it: no trailing separator, a root kept whole.
    std::u16string folder = FolderWithoutSeparator(std::u16string_view(editor.doc.programFolder), std::u16string_view(u"\\/"));
    editor.ports.shell.Open(file, folder);
}

} // namespace quillet
