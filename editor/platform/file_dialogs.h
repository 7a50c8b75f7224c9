#pragma once
// The system's common Open and Save As dialogs, shown modal to the main window.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

enum class FileDialogKind { Open, Save };

// The longest path the dialogs hand back: the platform's classic name buffer, less its NUL.
inline constexpr size_t kMaxPickedPath = 254;

enum class FileDialogResult {
    Accepted,    // path holds the chosen file
    Cancelled,   // or failed
    NameTooLong, // the user chose a path longer than kMaxPickedPath
};

struct PickedFile {
    FileDialogResult result = FileDialogResult::Cancelled;
    std::u16string path;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Opens in folder (the dialog's choice when empty) with name filled in; a name longer than
    // kMaxPickedPath is left out rather than cut, so the dialog never starts on a wrong name.
    virtual PickedFile PickFile(FileDialogKind kind, std::u16string_view name,
                                std::u16string_view folder) = 0;
};

} // namespace quillet
