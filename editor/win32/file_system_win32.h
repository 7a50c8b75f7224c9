#pragma once
// Whole-file reads and safe whole-file writes on the Windows file system.

#include "editor/platform/file_system.h"

#include <cstdint>

namespace quillet::win32 {

class FileSystemWin32 : public FileSystem {
public:
    // Beyond this a 32-bit process cannot hold the bytes and their UTF-16 text at once.
    static constexpr uint64_t kMaxFileSize = 1ull << 30;

    ReadResult ReadWhole(std::u16string_view path) override;
    WriteStatus WriteWhole(std::u16string_view path, ByteSource& source) override;
    std::u16string FullPath(std::u16string_view path) override;
    bool Exists(std::u16string_view path) override;
};

} // namespace quillet::win32
