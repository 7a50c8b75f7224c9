#include "editor/win32/shell_win32.h"

#include "e2e/shell_open_double.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ShellWin32, OpensAPageWithItsAssociatedProgramInTheGivenFolder) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring exe(self);
    testing::ShellOpenDouble browser(exe.substr(0, exe.find_last_of(L'\\')) +
                                     L"\\e2e\\shell_open_recorder.exe");
    ASSERT_TRUE(browser.RecorderExists());
    testing_win32::TempDir dir;
    const std::wstring folder = dir.Path(L"O'Brien & Co"), page = folder + L"\\0.html";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(testing_win32::TempDir::Write(page, ""));

    ShellWin32().Open(std::u16string(page.begin(), page.end()), std::u16string(folder.begin(), folder.end()));
    auto opens = browser.WaitOpens(1);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].arguments, L"\"" + page + L"\"");
    EXPECT_EQ(opens[0].folder, folder);
}

} // namespace
} // namespace quillet
