#include "installer/win32/adapters.h"
#include "installer/win32/com_ptr.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

namespace quillet::installer::win32 {
namespace {

using testing_win32::TempDir;

std::u16string U(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

TEST(RegistryWin32, WritesTextValuesMakingTheKeysOnTheWay) {
    const std::wstring key = L".quillet-adapter-test\\Shell\\Open\\Command";
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".quillet-adapter-test");
    RegistryWin32 registry;
    ASSERT_TRUE(registry.SetString(U(key), u"", u"\"C:\\Мои программы\\Q.exe\" %1"));
    ASSERT_TRUE(registry.SetString(U(key), u"Имя", u"x"));
    wchar_t data[64] = {};
    DWORD type = 0, bytes = sizeof data;
    RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_ANY, &type, data, &bytes);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(std::wstring(data), L"\"C:\\Мои программы\\Q.exe\" %1");
    bytes = sizeof data;
    RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), L"Имя", RRF_RT_REG_SZ, nullptr, data, &bytes);
    EXPECT_EQ(std::wstring(data), L"x");
    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L".quillet-adapter-test"), ERROR_SUCCESS);
}

TEST(FilesWin32, CreatesOrEmptiesAFileAndTellsRefusedFromMissing) {
    TempDir dir;
    FilesWin32 files;
    const std::wstring path = dir.Path(L"Текстовый документ.txt");
    EXPECT_EQ(files.CreateEmpty(U(path)), 0);
    EXPECT_EQ(TempDir::Read(path), "");
    ASSERT_TRUE(TempDir::Write(path, "old text"));
    EXPECT_EQ(files.CreateEmpty(U(path)), 0);
    EXPECT_EQ(TempDir::Read(path), "");
    ASSERT_TRUE(TempDir::Write(path, "protected"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.CreateEmpty(U(path)), 75);
    EXPECT_EQ(TempDir::Read(path), "protected");
    EXPECT_EQ(files.CreateEmpty(U(dir.Path(L"Нет такой папки\\x.txt"))), 76);
}

TEST(ShellWin32, SavesALinkTheShellReadsBackAndReplacesIt) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    TempDir dir;
    const std::wstring target = dir.Path(L"Quillet.exe"), linkPath = dir.Path(L"Текстовый документ.lnk");
    ASSERT_TRUE(TempDir::Write(target, "MZ"));
    ShellLinkProperties link{1, U(target), U(target), 1, u"Первый раз", U(dir.Path(L"папка"))};
    ShellWin32 shell;
    ASSERT_TRUE(shell.SaveLink(U(linkPath), link));
    link.description = u"Второй раз";
    ASSERT_TRUE(shell.SaveLink(U(linkPath), link));
    EXPECT_FALSE(shell.SaveLink(U(dir.Path(L"Нет такой папки\\x.lnk")), link));
    {
        ComPtr<IShellLinkW> read;
        ComPtr<IPersistFile> file;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IShellLinkW, read.PutVoid())));
        read->QueryInterface(IID_IPersistFile, file.PutVoid());
        ASSERT_TRUE(SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ)));
        wchar_t path[MAX_PATH] = {}, folder[MAX_PATH] = {}, icon[MAX_PATH] = {}, description[MAX_PATH] = {};
        int index = -1;
        read->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
        read->GetWorkingDirectory(folder, MAX_PATH);
        read->GetIconLocation(icon, MAX_PATH, &index);
        read->GetDescription(description, MAX_PATH);
        EXPECT_EQ(std::make_tuple(std::wstring(path), std::wstring(folder), std::wstring(icon), index),
                  std::make_tuple(target, dir.Path(L"папка"), target, 1));
        EXPECT_EQ(std::wstring(description), L"Второй раз");
    }
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
