#pragma once
// Whole-file reads and safe whole-file writes. Paths are passed exactly as given.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

enum class ReadStatus {
    Ok,
    NotFound,   // the file or one of its folders does not exist
    CannotOpen, // any other reason: access refused, a folder, an invalid name, locked
    ReadFailed, // opened, but could not be read whole
    TooLarge,   // more than the editor can hold
};

struct ReadResult {
    ReadStatus status = ReadStatus::CannotOpen;
    std::string bytes;
};

enum class WriteStatus {
    Ok,
    WriteProtected, // the file or its folder does not allow writing
    Failed,         // any other reason; the old content stays
};

// Hands out the bytes to write in pieces, so a large document never needs a second full copy.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // The next piece; empty when there is no more. Valid until the next call.
    virtual std::string_view Next() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual ReadResult ReadWhole(std::u16string_view path) = 0;
    // Creates or replaces the file with everything source yields. The old content is replaced
    // only once the new one is complete.
    virtual WriteStatus WriteWhole(std::u16string_view path, ByteSource& source) = 0;
    // The path made absolute against the current folder, which a file dialog may move later;
    // the path as given when that fails, or where there is no current folder.
    virtual std::u16string FullPath(std::u16string_view path) { return std::u16string(path); }
    // Whether a file (not a folder) is at path; any failure to tell counts as absent. Adapters
    // answer from the file's attributes; this fallback reads the file.
    virtual bool Exists(std::u16string_view path) {
        ReadStatus status = ReadWhole(path).status;
        return status == ReadStatus::Ok || status == ReadStatus::ReadFailed || status == ReadStatus::TooLarge;
    }
};

} // namespace quillet
