// What the installer's end-to-end runs do not show of its adapters: a shortcut that cannot be
// saved is reported, and variables of any length are read. The registry values, the shortcut's
// fields and the template are checked on the real runs.

#include "installer/win32/adapters.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace quillet::installer::win32 {
namespace {

std::u16string U(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

TEST(ShellWin32, ReportsALinkItCouldNotSave) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing_win32::TempDir dir;
    ShellLinkProperties link{1, U(dir.Path(L"Quillet.exe")), U(dir.Path(L"Quillet.exe")),
                             0, u"Текстовый документ",       U(dir.Path())};
    EXPECT_TRUE(ShellWin32().SaveLink(U(dir.Path(L"Текстовый документ.lnk")), link));
    EXPECT_FALSE(ShellWin32().SaveLink(U(dir.Path(L"Нет такой папки\\x.lnk")), link));
    CoUninitialize();
}

TEST(EnvironmentWin32, ReadsVariablesOfAnyLengthAndTheProgramsFolderAsTheSystemGivesFolders) {
    EnvironmentWin32 environment;
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), std::nullopt);
    const std::wstring value(3000, L'ж');
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", value.c_str());
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), U(value));
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", nullptr);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(environment.ProgramFolder() + u"\\installer_win32_tests.exe", U(self));
    EXPECT_EQ(FolderOfProgram(u"C:\\Install.exe"), u"C:\\");
}

} // namespace
} // namespace quillet::installer::win32
