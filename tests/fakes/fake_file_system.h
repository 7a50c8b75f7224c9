#pragma once
// An in-memory file system: files by path, folders, read-only files and scripted failures.

#include "editor/platform/file_system.h"

#include <map>
#include <set>
#include <string>

namespace quillet::fakes {

class FakeFileSystem : public FileSystem {
public:
    ReadResult ReadWhole(std::u16string_view path) override {
        std::u16string key(path);
        ++reads;
        if (refused.count(key) || folders.count(key))
            return {ReadStatus::CannotOpen, {}};
        if (unreadable.count(key))
            return {ReadStatus::ReadFailed, {}};
        if (tooLarge.count(key))
            return {ReadStatus::TooLarge, {}};
        auto it = files.find(key);
        if (it == files.end())
            return {ReadStatus::NotFound, {}};
        return {ReadStatus::Ok, it->second};
    }

    WriteStatus WriteWhole(std::u16string_view path, ByteSource& source) override {
        std::u16string key(path);
        ++writes;
        if (readOnly.count(key) || folders.count(key) || readOnlyFolder)
            return WriteStatus::WriteProtected;
        std::string content;
        for (auto piece = source.Next(); !piece.empty(); piece = source.Next())
            content.append(piece);
        if (failWrites)
            return WriteStatus::Failed; // the old content stays, as a safe replace leaves it
        files[key] = std::move(content);
        return WriteStatus::Ok;
    }

    // Relative paths are taken from currentFolder.
    std::u16string FullPath(std::u16string_view path) override {
        bool absolute =
            (path.size() >= 2 && path[1] == u':') || (!path.empty() && (path[0] == u'\\' || path[0] == u'/'));
        return absolute ? std::u16string(path) : currentFolder + std::u16string(path);
    }

    bool Exists(std::u16string_view path) override {
        std::u16string key(path);
        return files.count(key) != 0 && !folders.count(key);
    }

    std::map<std::u16string, std::string> files;
    std::set<std::u16string> folders;
    std::set<std::u16string> readOnly;
    std::set<std::u16string> refused;    // exists but cannot be opened
    std::set<std::u16string> unreadable; // opens but fails part-way
    std::set<std::u16string> tooLarge;
    std::u16string currentFolder = u"C:\\Users\\user\\";
    bool readOnlyFolder = false;
    bool failWrites = false; // every write fails for a reason other than protection
    int reads = 0;
    int writes = 0;
};

} // namespace quillet::fakes
