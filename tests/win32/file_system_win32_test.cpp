// The Windows file system and code page adapters on real files.

#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/file_system_win32.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet::win32 {
namespace {

using testing_win32::TempDir;

class Bytes : public ByteSource {
public:
    explicit Bytes(std::vector<std::string> pieces) : pieces_(std::move(pieces)) {}
    std::string_view Next() override {
        return next_ < pieces_.size() ? std::string_view(pieces_[next_++]) : "";
    }

private:
    std::vector<std::string> pieces_;
    size_t next_ = 0;
};

TEST(FileSystemWin32Test, ReadingTellsAMissingFileOrFolderFromOneThatCannotBeOpened) {
    TempDir dir;
    FileSystemWin32 fs;
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"нет.txt")).status, ReadStatus::NotFound);
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"нет\\файла.txt")).status, ReadStatus::NotFound);
    // A folder is there but is no file.
    CreateDirectoryW(dir.Path(L"папка").c_str(), nullptr);
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"папка")).status, ReadStatus::CannotOpen);
    // A file another program holds without sharing.
    ASSERT_TRUE(TempDir::Write(dir.Path(L"занят.txt"), "x"));
    HANDLE locked = CreateFileW(dir.Path(L"занят.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"занят.txt")).status, ReadStatus::CannotOpen);
    CloseHandle(locked);

    std::string content("\xcf\xf0\xe8\r\n\0end", 9);
    ASSERT_TRUE(TempDir::Write(dir.Path(L"есть.txt"), content));
    ReadResult read = fs.ReadWhole(dir.Path16(L"есть.txt"));
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes, content);
    // An empty file is a file.
    ASSERT_TRUE(TempDir::Write(dir.Path(L"пусто.txt"), ""));
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"пусто.txt")).status, ReadStatus::Ok);
}

TEST(FileSystemWin32Test, WritingReplacesTheFileWholeKeepsItsAttributesAndLeavesNoTemporaryFile) {
    TempDir dir;
    FileSystemWin32 fs;
    std::wstring path = dir.Path(L"doc.txt");
    Bytes first({"one\r\n", "two"});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"doc.txt"), first), WriteStatus::Ok);
    EXPECT_EQ(TempDir::Read(path), "one\r\ntwo");

    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Bytes second({"new"});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"doc.txt"), second), WriteStatus::Ok);
    EXPECT_EQ(TempDir::Read(path), "new");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(dir.Files(), std::vector<std::wstring>{L"doc.txt"});

    Bytes empty({});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"doc.txt"), empty), WriteStatus::Ok);
    EXPECT_EQ(TempDir::Read(path), "");
}

TEST(FileSystemWin32Test, AReadOnlyFileOrAFolderAsTargetGivesSeventyFiveAndStaysAsItWas) {
    TempDir dir;
    FileSystemWin32 fs;
    std::wstring path = dir.Path(L"ro.txt");
    ASSERT_TRUE(TempDir::Write(path, "old"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    Bytes bytes({"new"});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"ro.txt"), bytes), WriteStatus::WriteProtected);
    EXPECT_EQ(TempDir::Read(path), "old");

    CreateDirectoryW(dir.Path(L"папка").c_str(), nullptr);
    Bytes more({"new"});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"папка"), more), WriteStatus::WriteProtected);
    EXPECT_EQ(dir.Files().size(), 2u); // no temporary file left behind
}

TEST(FileSystemWin32Test, AMissingFolderIsAnotherFailureThanSeventyFive) {
    TempDir dir;
    FileSystemWin32 fs;
    Bytes bytes({"x"});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"нет\\doc.txt"), bytes), WriteStatus::Failed);
    EXPECT_TRUE(dir.Files().empty());
}

TEST(AnsiCodecWin32Test, TheRussianCodePageRoundTripsAndReportsCharactersItCannotHold) {
    AnsiCodecWin32 codec;
    ASSERT_EQ(GetACP(), 1251u) << "the tests run with the Russian locale (tools/wine-env)";
    std::u16string decoded = u">";
    codec.Decode("\xcf\xf0\xe8\xe2\xe5\xf2 \xa8\xb8 \x88", decoded);
    EXPECT_EQ(decoded, u">Привет Ёё €"); // appended
    std::string out;
    EXPECT_TRUE(codec.Encode(u"Привет Ёё €", out));
    EXPECT_EQ(out, "\xcf\xf0\xe8\xe2\xe5\xf2 \xa8\xb8 \x88");
    out.clear();
    EXPECT_FALSE(codec.Encode(u"a中b", out));
    EXPECT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0], 'a');
    EXPECT_EQ(out[2], 'b');
    // No best-fit look-alikes: a Latin letter with a stroke is not silently a plain one.
    out.clear();
    EXPECT_FALSE(codec.Encode(u"ł", out));

    // Chunked conversion over a few megabytes loses nothing at the seams.
    std::string big;
    for (int i = 0; i < 3 * 1024 * 1024 + 17; ++i)
        big.push_back(static_cast<char>(0xC0 + i % 64));
    std::u16string text;
    codec.Decode(big, text);
    ASSERT_EQ(text.size(), big.size());
    std::string back;
    EXPECT_TRUE(codec.Encode(text, back));
    EXPECT_EQ(back, big);
}

} // namespace
} // namespace quillet::win32

namespace quillet::win32 {
namespace {

TEST(FileSystemWin32Test, OnlyAFileCountsAsExistingAndARelativePathIsMadeFull) {
    TempDir dir;
    FileSystemWin32 fs;
    ASSERT_TRUE(TempDir::Write(dir.Path(L"есть.txt"), "x"));
    CreateDirectoryW(dir.Path(L"папка").c_str(), nullptr);
    EXPECT_TRUE(fs.Exists(dir.Path16(L"есть.txt")));
    EXPECT_FALSE(fs.Exists(dir.Path16(L"нет.txt")));
    EXPECT_FALSE(fs.Exists(dir.Path16(L"папка")));
    EXPECT_FALSE(fs.Exists(dir.Path16(L"нет\\файла.txt")));
    SetFileAttributesW(dir.Path(L"есть.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(fs.Exists(dir.Path16(L"есть.txt")));

    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(dir.Path(L"папка").c_str()));
    std::u16string full = fs.FullPath(u"заметки.txt");
    SetCurrentDirectoryW(before);
    EXPECT_EQ(full, dir.Path16(L"папка\\заметки.txt"));
}

} // namespace
} // namespace quillet::win32

namespace quillet::win32 {
namespace {

// Looks at the target while the new content is still being handed over.
class Watching : public ByteSource {
public:
    Watching(std::wstring target, int pieces) : target_(std::move(target)), left_(pieces) {}
    std::string_view Next() override {
        seen.push_back(TempDir::Read(target_));
        return left_-- > 0 ? std::string_view("piece\r\n") : std::string_view();
    }
    std::vector<std::string> seen;

private:
    std::wstring target_;
    int left_;
};

TEST(FileSystemWin32Test, TheOldFileStaysWholeUntilTheNewOneIsCompleteAndAFailedReplaceKeepsIt) {
    TempDir dir;
    FileSystemWin32 fs;
    std::wstring path = dir.Path(L"документ.txt");
    ASSERT_TRUE(TempDir::Write(path, "old"));

    Watching source(path, 3);
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"документ.txt"), source), WriteStatus::Ok);
    ASSERT_EQ(source.seen.size(), 4u);
    for (const std::string& seen : source.seen)
        EXPECT_EQ(seen, "old");
    EXPECT_EQ(TempDir::Read(path), "piece\r\npiece\r\npiece\r\n");

    // Another program holds the file without letting it be replaced: the save fails, the file
    // keeps what it had and nothing is left beside it.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Watching blocked(path, 1);
    EXPECT_NE(fs.WriteWhole(dir.Path16(L"документ.txt"), blocked), WriteStatus::Ok);
    CloseHandle(held);
    EXPECT_EQ(TempDir::Read(path), "piece\r\npiece\r\npiece\r\n");
    EXPECT_EQ(dir.Files(), std::vector<std::wstring>{L"документ.txt"});

    // The text runs out of memory while it is being encoded: the same.
    struct OutOfMemory : ByteSource {
        int left = 2;
        std::string_view Next() override {
            if (left-- == 0)
                throw std::bad_alloc();
            return "new\r\n";
        }
    } failing;
    EXPECT_THROW(fs.WriteWhole(dir.Path16(L"документ.txt"), failing), std::bad_alloc);
    EXPECT_EQ(TempDir::Read(path), "piece\r\npiece\r\npiece\r\n");
    EXPECT_EQ(dir.Files(), std::vector<std::wstring>{L"документ.txt"});
}

} // namespace
} // namespace quillet::win32
