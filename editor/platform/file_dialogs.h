#pragma once
// The system's common Open and Save As dialogs, shown modal to the main window from a record
// whose every value the core decides.

#include <cstdint>
#include <string>

namespace quillet {

struct FileDialogRecord {
    bool save = false;       // Save As, or Open
    std::u16string filter;   // description, NUL, pattern, ... closed by two NULs
    int32_t filterIndex = 1; // 1-based entry preselected
    std::u16string file;     // the name buffer: initial name padded with NULs to maxFile
    int32_t maxFile = 0;     // the size the dialog is told; the chosen path must fit with its NUL
    int32_t maxFileTitle = 0;
    std::u16string initialDir; // empty lets the dialog choose
};

enum class FileDialogResult {
    Accepted,    // record.file holds the chosen path, NUL-terminated within maxFile characters
    Cancelled,   // or failed
    NameTooLong, // the user chose a path that does not fit maxFile with its NUL
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual FileDialogResult Show(FileDialogRecord& record) = 0;
};

} // namespace quillet
