#pragma once
// The system's common Open and Save As dialogs through the Unicode API, so any path can be
// chosen whatever the ANSI code page.

#include "editor/platform/file_dialogs.h"

#include <windows.h>

namespace quillet::win32 {

class FileDialogsWin32 : public FileDialogs {
public:
    explicit FileDialogsWin32(HINSTANCE instance) : instance_(instance) {}
    void SetOwner(HWND owner) { owner_ = owner; } // the main window, once it exists

    PickedFile PickFile(FileDialogKind kind, std::u16string_view name, std::u16string_view folder) override;

private:
    HINSTANCE instance_;
    HWND owner_ = nullptr;
};

} // namespace quillet::win32
