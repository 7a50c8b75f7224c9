#pragma once
// A fresh folder under the temporary folder, with spaces and Cyrillic in its name, removed with
// everything in it at the end of the test.

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace quillet::installer::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"Проверка установщика " + std::to_wstring(GetCurrentProcessId()) +
                L"-" + std::to_wstring(GetTickCount());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        std::wstring from = path_ + L'\0';
        SHFILEOPSTRUCTW op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
        // Read-only files left by a test would stop the removal.
        ClearReadOnly(path_);
        SHFileOperationW(&op);
    }
    const std::wstring& Path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    static void ClearReadOnly(const std::wstring& folder) {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return;
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = folder + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ClearReadOnly(full);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::wstring path_;
};

} // namespace quillet::installer::testing
