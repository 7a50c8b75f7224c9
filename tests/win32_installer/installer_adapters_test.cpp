#include "installer/win32/adapters.h"
#include "installer/win32/com_ptr.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <fstream>

namespace quillet::installer::win32 {
namespace {

using testing::ScratchFolder;

std::wstring W(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}
std::u16string U(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void WriteText(const std::wstring& path, const char* text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, DWORD(strlen(text)), &written, nullptr);
    CloseHandle(file);
}

struct ComInit {
    ComInit() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComInit() { CoUninitialize(); }
};

constexpr wchar_t kTestKey[] = L".quillet-adapter-test";

TEST(RegistryWin32, WritesStringsWithTheirTerminatorAndLeavesOtherValuesAlone) {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestKey);
    RegistryWin32 registry;
    std::u16string key = U(kTestKey);
    ASSERT_TRUE(registry.SetString(key, u"", u"Текстовый документ"));
    ASSERT_TRUE(registry.SetString(key + u"\\Shell\\Open\\Command", u"", u"\"C:\\Мои программы\\Q.exe\" %1"));
    ASSERT_TRUE(registry.SetString(key + u"\\ShellNew", u"FileName", u"x.txt"));
    ASSERT_TRUE(registry.SetString(key + u"\\ShellNew", u"Other", u"kept"));
    ASSERT_TRUE(registry.SetString(key + u"\\ShellNew", u"FileName",
                                   u"C:\\windows\\ShellNew\\Текстовый документ.txt"));

    HKEY handle = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kTestKey, 0, KEY_READ, &handle), ERROR_SUCCESS);
    wchar_t data[256];
    DWORD type = 0, bytes = sizeof(data);
    ASSERT_EQ(RegQueryValueExW(handle, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes),
              ERROR_SUCCESS);
    RegCloseKey(handle);
    EXPECT_EQ(type, DWORD(REG_SZ));
    // 18 characters and the terminating zero, two bytes each.
    EXPECT_EQ(bytes, 19u * 2);
    EXPECT_EQ(std::wstring(data), L"Текстовый документ");

    std::wstring shellNew = std::wstring(kTestKey) + L"\\ShellNew";
    bytes = sizeof(data);
    ASSERT_EQ(
        RegGetValueW(HKEY_CLASSES_ROOT, shellNew.c_str(), L"FileName", RRF_RT_REG_SZ, nullptr, data, &bytes),
        ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"C:\\windows\\ShellNew\\Текстовый документ.txt");
    bytes = sizeof(data);
    ASSERT_EQ(
        RegGetValueW(HKEY_CLASSES_ROOT, shellNew.c_str(), L"Other", RRF_RT_REG_SZ, nullptr, data, &bytes),
        ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"kept");

    std::wstring command = std::wstring(kTestKey) + L"\\Shell\\Open\\Command";
    bytes = sizeof(data);
    ASSERT_EQ(RegGetValueW(HKEY_CLASSES_ROOT, command.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, data, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(data), L"\"C:\\Мои программы\\Q.exe\" %1");

    EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, kTestKey), ERROR_SUCCESS);
}

TEST(FilesWin32, CreatesOrEmptiesFilesAndTellsRefusedFromMissing) {
    ScratchFolder scratch;
    FilesWin32 files;
    std::wstring path = scratch / L"Текстовый документ.txt";

    EXPECT_EQ(files.CreateEmpty(U(path)), 0);
    EXPECT_EQ(FileSize(path), 0);

    WriteText(path, "old text");
    ASSERT_EQ(FileSize(path), 8);
    EXPECT_EQ(files.CreateEmpty(U(path)), 0);
    EXPECT_EQ(FileSize(path), 0);

    WriteText(path, "protected");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(files.CreateEmpty(U(path)), 75);
    EXPECT_EQ(FileSize(path), 9); // untouched
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(files.CreateEmpty(U(scratch / L"Нет такой папки\\x.txt")), 76);
}

TEST(ShellWin32, FindsTheProgramsFolderAndSavesALinkTheShellReadsBack) {
    ComInit com;
    ShellWin32 shell;
    auto programs = shell.ProgramsFolder();
    ASSERT_TRUE(programs.has_value());
    DWORD attributes = GetFileAttributesW(W(*programs).c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);

    ScratchFolder scratch;
    std::wstring target = scratch / L"Quillet.exe";
    WriteText(target, "MZ");
    ShellLinkProperties link;
    link.windowStyle = 1;
    link.targetPath = U(target);
    link.iconPath = U(target);
    link.iconIndex = 0;
    link.description = u"Текстовый документ";
    link.workingDirectory = U(scratch.Path());
    std::wstring linkPath = scratch / L"Текстовый документ.lnk";
    ASSERT_TRUE(shell.SaveLink(U(linkPath), link));
    link.description = u"Второй раз";
    ASSERT_TRUE(shell.SaveLink(U(linkPath), link)); // replaces the first

    ComPtr<IShellLinkW> read;
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, read.PutVoid())));
    ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(read->QueryInterface(IID_IPersistFile, file.PutVoid())));
    ASSERT_TRUE(SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ)));
    wchar_t text[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(read->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)));
    EXPECT_EQ(std::wstring(text), target);
    ASSERT_TRUE(SUCCEEDED(read->GetWorkingDirectory(text, MAX_PATH)));
    EXPECT_EQ(std::wstring(text), scratch.Path());
    int index = -1;
    ASSERT_TRUE(SUCCEEDED(read->GetIconLocation(text, MAX_PATH, &index)));
    EXPECT_EQ(std::wstring(text), target);
    EXPECT_EQ(index, 0);
    ASSERT_TRUE(SUCCEEDED(read->GetDescription(text, MAX_PATH)));
    EXPECT_EQ(std::wstring(text), L"Второй раз");
    int show = 0;
    ASSERT_TRUE(SUCCEEDED(read->GetShowCmd(&show)));
    EXPECT_EQ(show, SW_SHOWNORMAL);

    // A link into a folder that does not exist is a failure, not a silent nothing.
    EXPECT_FALSE(shell.SaveLink(U(scratch / L"Нет такой папки\\x.lnk"), link));
}

TEST(EnvironmentWin32, ReadsVariablesAndTheProgramFolderAsTheSystemReportsIt) {
    EnvironmentWin32 environment;
    auto windir = environment.Variable(u"windir");
    ASSERT_TRUE(windir.has_value());
    EXPECT_FALSE(windir->empty());

    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", L"Значение");
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), u"Значение");
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", nullptr);
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), std::nullopt);
    std::wstring longValue(3000, L'ж');
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", longValue.c_str());
    EXPECT_EQ(environment.Variable(u"QUILLET_TEST_VARIABLE"), U(longValue));
    SetEnvironmentVariableW(L"QUILLET_TEST_VARIABLE", nullptr);

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring expected(self);
    expected.erase(expected.find_last_of(L'\\'));
    EXPECT_EQ(environment.ProgramFolder(), U(expected));

    EXPECT_EQ(FolderOfProgram(u"C:\\Install.exe"), u"C:\\");
    EXPECT_EQ(FolderOfProgram(u"C:\\Program Files\\Квиллет\\Install.exe"), u"C:\\Program Files\\Квиллет");
    EXPECT_EQ(FolderOfProgram(u"\\\\server\\share\\Install.exe"), u"\\\\server\\share");
}

} // namespace
} // namespace quillet::installer::win32
