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

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

TEST(RegistryWin32, WritesTextValuesMakingTheKeysOnTheWay) {
    const std::wstring key = L".quillet-adapter-test\\Shell\\Open\\Command";
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".quillet-adapter-test");
    RegistryWin32 registry;
    ASSERT_TRUE(registry.SetString(U(key), u"", u"\"C:\\Мои программы\\Q.exe\" %1"));
    ASSERT_TRUE(registry.SetString(U(key), u"Имя", u"x"));
    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle), ERROR_SUCCESS);
    wchar_t data[64] = {};
    DWORD type = 0, bytes = sizeof data;
    EXPECT_EQ(RegQueryValueExW(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(std::wstring(data), L"\"C:\\Мои программы\\Q.exe\" %1");
    bytes = sizeof data;
    EXPECT_EQ(RegQueryValueExW(handle, L"Имя", nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"x");
    RegCloseKey(handle);
    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L".quillet-adapter-test"), ERROR_SUCCESS);
}

TEST(FilesWin32, CreatesOrEmptiesAFileAndTellsRefusedFromMissing) {
    TempDir dir;
    FilesWin32 files;
    const std::wstring path = dir.Path(L"Текстовый документ.txt");
    EXPECT_EQ(files.CreateEmpty(U(path)), 0);
    EXPECT_EQ(FileSize(path), 0);
    ASSERT_TRUE(TempDir::Write(path, "old text"));
    EXPECT_EQ(files.CreateEmpty(U(path)), 0);
    EXPECT_EQ(FileSize(path), 0);
    ASSERT_TRUE(TempDir::Write(path, "protected"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.CreateEmpty(U(path)), 75);
    EXPECT_EQ(FileSize(path), 9); // untouched
    EXPECT_EQ(files.CreateEmpty(U(dir.Path(L"Нет такой папки\\x.txt"))), 76);
}

TEST(ShellWin32, FindsTheProgramsFolderAndSavesALinkTheShellReadsBack) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ShellWin32 shell;
    auto programs = shell.ProgramsFolder();
    ASSERT_TRUE(programs.has_value());
    EXPECT_TRUE(GetFileAttributesW(std::wstring(programs->begin(), programs->end()).c_str()) &
                FILE_ATTRIBUTE_DIRECTORY);

    TempDir dir;
    const std::wstring target = dir.Path(L"Quillet.exe"), linkPath = dir.Path(L"Текстовый документ.lnk");
    ASSERT_TRUE(TempDir::Write(target, "MZ"));
    ShellLinkProperties link;
    link.windowStyle = SW_SHOWMINNOACTIVE;
    link.targetPath = link.iconPath = U(target);
    link.iconIndex = 1;
    link.description = u"Текстовый документ";
    link.workingDirectory = U(dir.Path(L"папка"));
    ASSERT_TRUE(shell.SaveLink(U(linkPath), link));
    link.description = u"Второй раз";
    ASSERT_TRUE(shell.SaveLink(U(linkPath), link)); // replaces the first
    EXPECT_FALSE(shell.SaveLink(U(dir.Path(L"Нет такой папки\\x.lnk")), link));

    ComPtr<IShellLinkW> read;
    ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, read.PutVoid())));
    ASSERT_TRUE(SUCCEEDED(read->QueryInterface(IID_IPersistFile, file.PutVoid())));
    ASSERT_TRUE(SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ)));
    wchar_t path[MAX_PATH] = {}, folder[MAX_PATH] = {}, icon[MAX_PATH] = {}, description[MAX_PATH] = {};
    int index = -1, show = 0;
    read->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
    read->GetWorkingDirectory(folder, MAX_PATH);
    read->GetIconLocation(icon, MAX_PATH, &index);
    read->GetDescription(description, MAX_PATH);
    read->GetShowCmd(&show);
    EXPECT_EQ(path, target);
    EXPECT_EQ(folder, dir.Path(L"папка"));
    EXPECT_EQ(icon, target);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(std::wstring(description), L"Второй раз");
    EXPECT_EQ(show, SW_SHOWMINNOACTIVE);
    read.Reset();
    file.Reset();
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
    EXPECT_EQ(FolderOfProgram(u"\\\\server\\share\\Install.exe"), u"\\\\server\\share");
}

} // namespace
} // namespace quillet::installer::win32
