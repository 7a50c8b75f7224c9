// Opening a Windows-1251 file and saving it unchanged gives back its bytes, on the real file
// system and code page.

#include "editor/control/text_model.h"
#include "editor/core/load_document.h"
#include "editor/files/save_file.h"
#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/file_system_win32.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_message_boxes.h"
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
    TextModel rich(files, codec);
    fakes::FakeMainWindow window;
    fakes::FakeMessageBoxes messages;
    Editor ed;
    ed.ports = {.rich = &rich, .window = &window, .messages = &messages, .files = &files, .codec = &codec};
    ed.doc.PathSeparator = u"\\";

    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.push_back(char(b));
    std::string withCrLf;
    for (char c : everyByte)
        withCrLf += (c == '\n' || c == '\r') ? std::string("\r\n") : std::string(1, c);

    ASSERT_TRUE(TempDir::Write(dir.Path(L"все.txt"), withCrLf));
    LoadDocument(ed, dir.Path16(L"все.txt"));
    ASSERT_EQ(ed.doc.CurrentFilePath, dir.Path16(L"все.txt"));
    frmForma_mnuSave_Click(ed);
    EXPECT_TRUE(messages.shown.empty()) << "every character read from the code page fits it";
    EXPECT_EQ(TempDir::Read(dir.Path(L"все.txt")), withCrLf);

    ASSERT_TRUE(TempDir::Write(dir.Path(L"одиночные.txt"), everyByte));
    LoadDocument(ed, dir.Path16(L"одиночные.txt"));
    frmForma_mnuSave_Click(ed);
    EXPECT_EQ(TempDir::Read(dir.Path(L"одиночные.txt")), withCrLf);
    EXPECT_EQ(ed.doc.Modified, 0);
}

} // namespace
} // namespace quillet::win32
