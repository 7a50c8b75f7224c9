#include "editor/win32/file_system_win32.h"

#include "editor/base/path.h"
#include "editor/win32/handles.h"
#include "editor/win32/wide.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace quillet::win32 {

namespace {

WriteStatus WriteStatusFor(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return WriteStatus::WriteProtected;
    default: return WriteStatus::Failed;
    }
}

// The folder part of path, with its trailing separator, or empty for a bare name.
std::wstring FolderOf(const std::wstring& path) {
    return std::wstring(SplitPath(std::wstring_view(path), std::wstring_view(L"\\/")).folder);
}

bool WriteAll(HANDLE file, std::string_view piece) {
    while (!piece.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(piece.size(), 1u << 24));
        DWORD done = 0;
        if (!WriteFile(file, piece.data(), chunk, &done, nullptr) || done == 0)
            return false;
        piece.remove_prefix(done);
    }
    return true;
}

// A file given permissions of its own (not just those it inherits from its folder, which the new
// file beside it inherits anyway) passes them on to its replacement. Best effort: a file system
// without access lists simply keeps none. ReplaceFile would do this too, but under Wine a failed
// ReplaceFile leaves a stray temporary file beside the document.
void KeepOwnPermissions(const std::wstring& from, const std::wstring& to) {
    DWORD needed = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return;
    std::vector<BYTE> descriptor(needed);
    if (!GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), needed, &needed))
        return;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorControl(descriptor.data(), &control, &revision) ||
        !(control & SE_DACL_PROTECTED))
        return;
    SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

} // namespace

ReadResult FileSystemWin32::ReadWhole(std::u16string_view path) {
    std::wstring wpath = ToWide(path);
    FileHandle file(CreateFileW(wpath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        DWORD error = GetLastError();
        bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? ReadStatus::NotFound : ReadStatus::CannotOpen, {}};
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size))
        return {ReadStatus::ReadFailed, {}};
    if (static_cast<uint64_t>(size.QuadPart) > kMaxFileSize)
        return {ReadStatus::TooLarge, {}};

    ReadResult result;
    try {
        result.bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return {ReadStatus::TooLarge, {}};
    }
    size_t got = 0;
    while (got < result.bytes.size()) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(result.bytes.size() - got, 1u << 24));
        DWORD done = 0;
        if (!ReadFile(file.Get(), result.bytes.data() + got, want, &done, nullptr))
            return {ReadStatus::ReadFailed, {}};
        if (done == 0)
            break; // the file shrank while we read: keep what there is
        got += done;
    }
    result.bytes.resize(got);
    result.status = ReadStatus::Ok;
    return result;
}

WriteStatus FileSystemWin32::WriteWhole(std::u16string_view path, ByteSource& source) {
    std::wstring target = ToWide(path);
    DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return WriteStatus::WriteProtected;

    // The new content goes to a temporary file beside the target, so that a failure part-way
    // leaves the old file as it was and the final rename stays on one volume.
    std::wstring folder = FolderOf(target);
    std::wstring temp;
    FileHandle file;
    for (unsigned attempt = 0; attempt < 100 && !file; ++attempt) {
        temp = folder + L"~qlt" + std::to_wstring(GetCurrentProcessId()) + L"_" +
               std::to_wstring(GetTickCount() + attempt) + L".tmp";
        file.Reset(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY,
                               nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return WriteStatusFor(GetLastError());
    }
    if (!file)
        return WriteStatus::Failed;

    auto fail = [&](DWORD error) {
        file.Reset();
        DeleteFileW(temp.c_str());
        return WriteStatusFor(error);
    };
    try {
        for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
            if (!WriteAll(file.Get(), piece))
                return fail(GetLastError());
    } catch (...) {
        // The source could not make its next piece (out of memory): the old file stays.
        fail(ERROR_OUTOFMEMORY);
        throw;
    }
    if (!FlushFileBuffers(file.Get()))
        return fail(GetLastError());
    file.Reset();

    if (exists) {
        // Keep the target's attributes (hidden, archive...) on the new file.
        SetFileAttributesW(temp.c_str(), attributes & ~FILE_ATTRIBUTE_TEMPORARY);
        KeepOwnPermissions(target, temp);
    } else {
        SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        DeleteFileW(temp.c_str());
        return WriteStatusFor(error);
    }
    return WriteStatus::Ok;
}

std::u16string FileSystemWin32::FullPath(std::u16string_view path) {
    std::wstring given = ToWide(path);
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD length = GetFullPathNameW(given.c_str(), DWORD(full.size()), full.data(), nullptr);
        if (length == 0)
            break;
        if (length < full.size()) {
            full.resize(length);
            return FromWide(full);
        }
        full.resize(length); // the size asked for, its NUL included
    }
    return std::u16string(path);
}

bool FileSystemWin32::Exists(std::u16string_view path) {
    // Any failure to read the attributes counts as no file, as a failed length query would.
    DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace quillet::win32
