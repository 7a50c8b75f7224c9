// The adapters of the system's services on the real system: files and the code page, the
// clipboard, message boxes.

#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/file_system_win32.h"
#include "editor/win32/message_boxes_win32.h"
#include "editor/win32/settings_registry.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace quillet::win32 {
namespace {

using testing_win32::TempDir;

// Hands out its pieces, then runs out of memory if asked to; with a file to watch, reads it before
// each piece.
class Pieces : public ByteSource {
public:
    explicit Pieces(std::vector<std::string> pieces, std::wstring watch = L"", bool fail = false)
        : pieces_(std::move(pieces)), watch_(std::move(watch)), fail_(fail) {}
    std::string_view Next() override {
        if (!watch_.empty())
            seen.push_back(TempDir::Read(watch_));
        if (fail_ && next_ == pieces_.size())
            throw std::bad_alloc();
        return next_ < pieces_.size() ? std::string_view(pieces_[next_++]) : "";
    }
    std::vector<std::string> seen;

private:
    std::vector<std::string> pieces_;
    std::wstring watch_;
    bool fail_;
    size_t next_ = 0;
};

TEST(FileSystemWin32Test, ReadingTellsAMissingFileFromOneThatCannotBeOpenedAndOnlyAFileExists) {
    TempDir dir;
    FileSystemWin32 fs;
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"нет.txt")).status, ReadStatus::NotFound);
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"нет\\файла.txt")).status, ReadStatus::NotFound);
    EXPECT_FALSE(fs.Exists(dir.Path16(L"нет.txt")));
    CreateDirectoryW(dir.Path(L"папка").c_str(), nullptr);
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"папка")).status, ReadStatus::CannotOpen);
    EXPECT_FALSE(fs.Exists(dir.Path16(L"папка")));

    const std::string content("\xcf\xf0\xe8\r\n\0end", 9);
    ASSERT_TRUE(TempDir::Write(dir.Path(L"есть.txt"), content));
    SetFileAttributesW(dir.Path(L"есть.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    ReadResult read = fs.ReadWhole(dir.Path16(L"есть.txt"));
    EXPECT_EQ(read.status, ReadStatus::Ok);
    EXPECT_EQ(read.bytes, content);
    ASSERT_TRUE(TempDir::Write(dir.Path(L"пусто.txt"), ""));
    EXPECT_EQ(fs.ReadWhole(dir.Path16(L"пусто.txt")).status, ReadStatus::Ok);
}

TEST(FileSystemWin32Test, WritingReplacesTheFileOnlyOnceTheNewOneIsCompleteAndSaysWhyItCouldNot) {
    TempDir dir;
    FileSystemWin32 fs;
    const std::wstring path = dir.Path(L"документ.txt");
    ASSERT_TRUE(TempDir::Write(path, "old"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    Pieces source({"one\r\n", "two"}, path);
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"документ.txt"), source), WriteStatus::Ok);
    EXPECT_EQ(source.seen, std::vector<std::string>(3, "old"));
    EXPECT_EQ(TempDir::Read(path), "one\r\ntwo");
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    // Held by a program that does not let it be replaced, or memory running out while the text
    // is encoded: the file keeps what it had.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    Pieces blocked({"new"});
    EXPECT_NE(fs.WriteWhole(dir.Path16(L"документ.txt"), blocked), WriteStatus::Ok);
    CloseHandle(held);
    Pieces failing({"new\r\n"}, L"", true);
    EXPECT_THROW(fs.WriteWhole(dir.Path16(L"документ.txt"), failing), std::bad_alloc);
    EXPECT_EQ(TempDir::Read(path), "one\r\ntwo");
    Pieces empty({});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"документ.txt"), empty), WriteStatus::Ok);
    EXPECT_EQ(TempDir::Read(path), "");

    // A read-only file or a folder is protected (75 to the user); a missing folder is another failure.
    ASSERT_TRUE(TempDir::Write(dir.Path(L"ro.txt"), "old"));
    SetFileAttributesW(dir.Path(L"ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    Pieces bytes({"new"}), more({"new"}), again({"new"});
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"ro.txt"), bytes), WriteStatus::WriteProtected);
    EXPECT_EQ(TempDir::Read(dir.Path(L"ro.txt")), "old");
    CreateDirectoryW(dir.Path(L"папка").c_str(), nullptr);
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"папка"), more), WriteStatus::WriteProtected);
    EXPECT_EQ(fs.WriteWhole(dir.Path16(L"нет\\doc.txt"), again), WriteStatus::Failed);
    using Files = std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(Files(dir.Path()), Files()), 3) << "no temporary file left beside";
}

TEST(AnsiCodecWin32Test, EveryByteOfTheRussianCodePageRoundTripsAndCharactersItLacksAreReported) {
    ASSERT_EQ(GetACP(), 1251u) << "the tests run with the Russian locale (tools/wine-env)";
    AnsiCodecWin32 codec;
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(char(b));
    std::u16string decoded = u">";
    codec.Decode(everyByte, decoded);
    ASSERT_EQ(decoded.size(), 257u); // appended
    EXPECT_EQ(decoded.substr(0xC0 + 1, 2), u"АБ");
    EXPECT_EQ(decoded[0xA8 + 1], u'Ё');
    EXPECT_EQ(decoded[0x88 + 1], u'€');
    std::string back;
    EXPECT_TRUE(codec.Encode(decoded.substr(1), back));
    EXPECT_EQ(back, everyByte);
    back.clear();
    EXPECT_FALSE(codec.Encode(u"a中b", back));
    EXPECT_EQ(back, "a?b");
    back.clear();
    EXPECT_FALSE(codec.Encode(u"ł", back)) << "no best-fit look-alikes";
}

HWND MessageWindow() {
    return CreateWindowExW(0, L"STATIC", L"clipboard owner", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

// Text through the clipboard is the text view test's (copy, cut and paste, a NUL too).
TEST(ClipboardWin32Test, KeepsAnEmptyTextAndReportsAClipboardHeldElsewhere) {
    HWND owner = MessageWindow();
    ClipboardWin32 clipboard(owner);
    ASSERT_TRUE(clipboard.SetText(u""));
    EXPECT_EQ(clipboard.Text(), u"");
    ASSERT_TRUE(clipboard.SetText(u"kept"));

    std::atomic<int> held{0}; // 1 held, 2 could not open
    std::atomic<bool> release{false};
    std::thread holder([&] {
        HWND other = MessageWindow();
        bool opened = OpenClipboard(other) != FALSE;
        held = opened ? 1 : 2;
        while (opened && !release)
            Sleep(5);
        if (opened)
            CloseClipboard();
        DestroyWindow(other);
    });
    while (held == 0)
        Sleep(5);
    const bool writeRefused = !clipboard.SetText(u"lost");
    const bool readRefused = !clipboard.Text().has_value();
    release = true;
    holder.join();
    ASSERT_EQ(held, 1) << "the other thread could not open the clipboard";
    EXPECT_TRUE(writeRefused);
    EXPECT_TRUE(readRefused);
    EXPECT_EQ(clipboard.Text(), u"kept");
    DestroyWindow(owner);
}

TEST(RegistrySettingsTest, ValuesRoundTripAndWhatIsMissingOrNotTextReadsEmpty) {
    constexpr wchar_t kApp[] = L"Software\\QuilletSettingsTest";
    RegDeleteTreeW(HKEY_CURRENT_USER, kApp);
    RegistrySettings store;
    EXPECT_EQ(store.Read(u"QuilletSettingsTest", u"Settings", u"FontName"), u""); // no key yet
    store.Write(u"QuilletSettingsTest", u"Settings", u"FontName", u"Шрифт Arial");
    store.Write(u"QuilletSettingsTest", u"Settings", u"FontItalic", u"");
    EXPECT_EQ(store.Read(u"QuilletSettingsTest", u"Settings", u"FontName"), u"Шрифт Arial");
    EXPECT_EQ(store.Read(u"QuilletSettingsTest", u"Settings", u"FontItalic"), u"");
    const DWORD number = 7;
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\QuilletSettingsTest\\Settings", L"Width", REG_DWORD,
                    &number, sizeof number);
    EXPECT_EQ(store.Read(u"QuilletSettingsTest", u"Settings", u"Width"), u""); // not one of ours
    RegDeleteTreeW(HKEY_CURRENT_USER, kApp);
}

TEST(MessageBoxes, TheIconButtonsAndPreselectedAnswerBecomeTheSystemsStyle) {
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Error, MessageButtons::Ok, MessageAnswer::Ok}),
              UINT(MB_ICONERROR));
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Warning, MessageButtons::YesNoCancel, MessageAnswer::Yes}),
              UINT(MB_YESNOCANCEL | MB_ICONWARNING));
    EXPECT_EQ(MessageBoxFlags({MessageIcon::Information, MessageButtons::YesNo, MessageAnswer::No}),
              UINT(MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2));
}

} // namespace
} // namespace quillet::win32
