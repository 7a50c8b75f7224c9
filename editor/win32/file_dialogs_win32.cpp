#include "editor/win32/file_dialogs_win32.h"

#include "editor/win32/wide.h"

#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace quillet::win32 {

FileDialogResult FileDialogsWin32::Show(FileDialogRecord& record) {
    if (record.maxFile <= 0)
        return FileDialogResult::Cancelled;
    // The buffers the dialog writes into, exactly the sizes it is told.
    std::wstring file = ToWide(record.file);
    file.resize(size_t(record.maxFile), L'\0');
    file.back() = L'\0'; // never hand over a name without its end
    std::wstring title(size_t(record.maxFileTitle > 0 ? record.maxFileTitle : 1), L'\0');
    std::wstring filter = ToWide(record.filter);
    std::wstring folder = ToWide(record.initialDir);

    OPENFILENAMEW ofn{};
    // The record's older size, without the fields later systems added at its end.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = owner_;
    ofn.hInstance = instance_;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = DWORD(record.filterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(record.maxFile);
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = DWORD(title.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // No title, no flags, no default extension: the ".txt" completion is the editor's own.
    ofn.Flags = 0;

    BOOL accepted = record.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!accepted)
        return CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? FileDialogResult::NameTooLong
                                                              : FileDialogResult::Cancelled;
    record.file = FromWide(file);
    return FileDialogResult::Accepted;
}

} // namespace quillet::win32
