// Install.exe run as a person runs it, from the folder that holds Quillet.exe, with spaces and
// Cyrillic letters in its path; then a text document opened by the shell comes up in Quillet.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>

using namespace quillet::e2e;

namespace {

// What UI Automation's client side reads of a window in another process: its control type.
long AutomationControlType(HWND window) {
    HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
    auto nodeFromHandle = reinterpret_cast<HRESULT(WINAPI*)(HWND, void**)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "UiaNodeFromHandle")));
    auto getPropertyValue = reinterpret_cast<HRESULT(WINAPI*)(void*, int, VARIANT*)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "UiaGetPropertyValue")));
    auto nodeRelease = reinterpret_cast<BOOL(WINAPI*)(void*)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "UiaNodeRelease")));
    void* node = nullptr;
    if (!nodeFromHandle || FAILED(nodeFromHandle(window, &node)) || !node)
        return -1;
    VARIANT value;
    VariantInit(&value);
    const long type = SUCCEEDED(getPropertyValue(node, 30003, &value)) && value.vt == VT_I4 ? value.lVal : -2;
    nodeRelease(node);
    return type;
}

std::wstring Windir() {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(L"windir", value, MAX_PATH);
    return value;
}

std::wstring Template() {
    return Windir() + L"\\ShellNew\\Текстовый документ.txt";
}

std::wstring ShortcutPath() {
    wchar_t programs[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::wstring(programs) + L"\\Текстовый документ.lnk";
}

// The prefix as Wine makes it, .txt for its own text files, before and after: every run proves
// its own writing.
struct FreshPrefix {
    FreshPrefix() { Reset(); }
    ~FreshPrefix() { Reset(); }
    static void Reset() {
        for (const wchar_t* key :
             {L".txt\\DefaultIcon", L".txt\\Shell", L".txt\\ShellNew", L"Текстовый документ"})
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key), RegDeleteKeyW(HKEY_CLASSES_ROOT, key);
        RegSetKeyValueW(HKEY_CLASSES_ROOT, L".txt", nullptr, REG_SZ, L"txtfile", sizeof L"txtfile");
        DeleteFileW(ShortcutPath().c_str());
        SetFileAttributesW(Template().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(Template().c_str());
        RemoveDirectoryW((Windir() + L"\\ShellNew").c_str());
    }
};

TEST(InstallerEndToEnd, RegistersQuilletSoThatTheShellOpensATextDocumentInIt) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FreshPrefix fresh;
    TempFolder temp;
    const std::wstring folder = temp.File(L"Мои программы\\Квиллет 1.1\\");
    CreateDirectoryW(temp.File(L"Мои программы").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(Env().installExe.c_str(), (folder + L"Install.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(Env().quilletExe.c_str(), (folder + L"Quillet.exe").c_str(), FALSE));
    CreateDirectoryW((Windir() + L"\\ShellNew").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(Template(), "text from before"));

    App install;
    ASSERT_TRUE(install.Launch(folder + L"Install.exe", L""));
    EXPECT_EQ(install.Answer(IDOK, 15s), L"Установка программы завершена.");
    HWND window =
        install.WaitWindow([](HWND hwnd) { return ClassOf(hwnd) == L"QuilletInstallerWindow"; }, 15s);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TextOf(window), L"Мои программы");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(install.WaitExit(), 0) << "the installer ends with its window";
    EXPECT_EQ(FileBytes(Template()), "") << "the new-document template";
    EXPECT_NE(GetFileAttributesW(ShortcutPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "no Start-menu shortcut";

    // A double-click on a document: the shell finds Quillet through what was registered.
    const std::wstring document = temp.File(L"Мой документ с пробелами.txt");
    ASSERT_TRUE(WriteBytes(document, Cp1251(L"Открыто через ассоциацию\r\n")));
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    open.lpFile = document.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&open) && open.hProcess) << "no program for .txt, error " << GetLastError();
    App quillet;
    quillet.Adopt(open.hProcess);
    ASSERT_TRUE(quillet.WaitReady(L" Мой документ с пробелами.txt - Квиллет", 15s)) << quillet.Caption();
    EXPECT_TRUE(quillet.WaitText(L"Открыто через ассоциацию\r\n"));
    EXPECT_EQ(AutomationControlType(quillet.TextControl()), 50030) << "a screen reader finds no document";
}

} // namespace
