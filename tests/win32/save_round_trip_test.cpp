// Opening a Windows-1251 file and saving it unchanged gives back its bytes, on the real file
// system and code page.

#include "editor/files/load_document.h"
#include "editor/files/save_file.h"
#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/file_system_win32.h"
#include "fakes/editor_with_fakes.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet::win32 {
namespace {

using testing_win32::TempDir;

TEST(SaveRoundTripTest, EveryByteValueSurvivesOpenAndSaveAndLoneBreaksBecomeCrLf) {
    ASSERT_EQ(GetACP(), 1251u) << "the tests run with the Russian locale (tools/wine-env)";
    TempDir dir;
    FileSystemWin32 files;
    AnsiCodecWin32 codec;
    fakes::EditorWithFakes f; // the rest
    fakes::FakeMessageBoxes& messages = f.messages;
    Editor ed({f.control, f.window, messages, f.settings, files, codec, f.layouts, f.clipboard, f.fileDialogs,
               f.shell, f.about, f.findDialog, f.fontDialog});
    ed.doc.pathSeparator = u"\\";

    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(char(b));
    std::string withCrLf;
    for (char c : everyByte)
        withCrLf += (c == '\n' || c == '\r') ? std::string("\r\n") : std::string(1, c);

    ASSERT_TRUE(TempDir::Write(dir.Path(L"все.txt"), withCrLf));
    LoadDocument(ed, dir.Path16(L"все.txt"));
    ASSERT_EQ(ed.doc.path, dir.Path16(L"все.txt"));
    OnSave(ed);
    EXPECT_TRUE(messages.shown.empty()) << "every character read from the code page fits it";
    EXPECT_EQ(TempDir::Read(dir.Path(L"все.txt")), withCrLf);

    ASSERT_TRUE(TempDir::Write(dir.Path(L"одиночные.txt"), everyByte));
    LoadDocument(ed, dir.Path16(L"одиночные.txt"));
    OnSave(ed);
    EXPECT_EQ(TempDir::Read(dir.Path(L"одиночные.txt")), withCrLf);
    EXPECT_FALSE(ed.doc.modified);
}

} // namespace
} // namespace quillet::win32
