#include "editor/win32/shell_win32.h"

#include "e2e/shell_open_double.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace quillet {
namespace {

std::wstring ExeFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

TEST(ShellWin32, OpensAPageWithItsAssociatedProgramFromTheGivenFolder) {
    testing::ShellOpenDouble browser(ExeFolder() + L"e2e\\shell_open_recorder.exe");
    ASSERT_TRUE(browser.RecorderExists());

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"Папка O'Brien & Co";
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring page = folder + L"\\0.html";
    HANDLE file = CreateFileW(page.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    ShellWin32().Open(std::u16string(page.begin(), page.end()), std::u16string(folder.begin(), folder.end()));

    auto opens = browser.WaitOpens(1);
    ASSERT_EQ(opens.size(), 1u);
    EXPECT_EQ(opens[0].arguments, L"\"" + page + L"\"");
    EXPECT_EQ(opens[0].folder, folder);

    DeleteFileW(page.c_str());
    RemoveDirectoryW(folder.c_str());
}

} // namespace
} // namespace quillet
