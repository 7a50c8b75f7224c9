#include "editor/win32/file_dialogs_win32.h"

#include "editor/win32/wide.h"

#include <cderr.h>
#include <commdlg.h>

#include <string>

namespace quillet::win32 {
namespace {

// Description, NUL, pattern, ... closed by two NULs.
constexpr wchar_t kFilter[] = L"Текстовый файл (*.txt)\0*.txt\0Все файлы (*.*)\0*.*\0";

} // namespace

PickedFile FileDialogsWin32::PickFile(FileDialogKind kind, std::u16string_view name,
                                      std::u16string_view folder) {
    // The buffers the dialog writes into, exactly the sizes it is told.
    std::wstring file(kMaxPickedPath + 1, L'\0');
    if (name.size() <= kMaxPickedPath && name.find(u'\0') == std::u16string_view::npos)
        std::copy(name.begin(), name.end(), file.begin());
    std::wstring title(kMaxPickedPath + 1, L'\0');
    std::wstring initialFolder = ToWide(folder);

    OPENFILENAMEW ofn{};
    // The record's older size, without the fields later systems added at its end.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    ofn.hwndOwner = owner_;
    ofn.hInstance = instance_;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = DWORD(file.size());
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = DWORD(title.size());
    ofn.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    // No title, no flags, no default extension: the ".txt" completion is the editor's own.
    ofn.Flags = 0;

    BOOL accepted = kind == FileDialogKind::Save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!accepted)
        return {CommDlgExtendedError() == FNERR_BUFFERTOOSMALL ? FileDialogResult::NameTooLong
                                                               : FileDialogResult::Cancelled};
    file.resize(file.find(L'\0'));
    return {FileDialogResult::Accepted, FromWide(file)};
}

} // namespace quillet::win32
