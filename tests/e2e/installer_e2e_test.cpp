// Install.exe run as a person runs it: from the folder that holds Quillet.exe, whose path has
// spaces and Cyrillic letters; then the registry, the Start-menu shortcut and the new-document
// template are checked, and Quillet is started the way the shell starts it for a .txt file.

#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <optional>

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

const std::wstring kDocumentKind = L"Текстовый документ";

std::optional<std::wstring> ClassesValue(const std::wstring& subkey, const wchar_t* name,
                                         DWORD* bytesOut = nullptr) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    wchar_t data[1024] = {};
    DWORD type = 0, bytes = sizeof(data) - sizeof(wchar_t);
    LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return std::nullopt;
    if (bytesOut)
        *bytesOut = bytes;
    return std::wstring(data);
}

std::wstring Variable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    GetEnvironmentVariableW(name, value, MAX_PATH);
    return value;
}

std::wstring ProgramsFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int CountFiles(const std::wstring& pattern) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int n = 0;
    do
        ++n;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return n;
}

struct Link {
    std::wstring target, workingDirectory, iconPath, description;
    int iconIndex = -1;
    int showCommand = 0;
    WORD hotKey = 0xFFFF;
};

std::optional<Link> ReadLink(const std::wstring& path) {
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return std::nullopt;
    std::optional<Link> result;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            Link l;
            wchar_t text[MAX_PATH] = {};
            link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
            l.target = text;
            link->GetWorkingDirectory(text, MAX_PATH);
            l.workingDirectory = text;
            link->GetIconLocation(text, MAX_PATH, &l.iconIndex);
            l.iconPath = text;
            link->GetDescription(text, MAX_PATH);
            l.description = text;
            link->GetShowCmd(&l.showCommand);
            link->GetHotkey(&l.hotKey);
            result = l;
        }
        file->Release();
    }
    link->Release();
    return result;
}

// A top-level window's child static control that shows exactly this text.
bool ShowsText(HWND window, const std::wstring& text) {
    struct Search {
        const std::wstring* text;
        bool found;
    } search{&text, false};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            auto s = reinterpret_cast<Search*>(param);
            if (TextOf(child) == *s->text)
                s->found = true;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The folder Quillet is delivered in, with both programs, and the state the installer writes,
// cleared before and after each test so every run proves its own writing.
class InstallerEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        folder_ = temp_.Path() + L"Мои программы\\Квиллет 1.1";
        CreateDirectoryW((temp_.Path() + L"Мои программы").c_str(), nullptr);
        CreateDirectoryW(folder_.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(Env().installExe.c_str(), (folder_ + L"\\Install.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyFileW(Env().quilletExe.c_str(), (folder_ + L"\\Quillet.exe").c_str(), FALSE));
        shellNew_ = Variable(L"windir") + L"\\ShellNew";
        template_ = shellNew_ + L"\\Текстовый документ.txt";
        link_ = ProgramsFolder() + L"\\Текстовый документ.lnk";
        ForgetInstallation();
    }
    void TearDown() override {
        ForgetInstallation();
        CoUninitialize();
    }

    // Back to the prefix as Wine makes it: .txt for the system's own text files.
    void ForgetInstallation() {
        for (const wchar_t* sub :
             {L".txt\\DefaultIcon", L".txt\\Shell", L".txt\\ShellNew", L"Текстовый документ"})
            RegDeleteTreeW(HKEY_CLASSES_ROOT, sub), RegDeleteKeyW(HKEY_CLASSES_ROOT, sub);
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L".txt", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            const wchar_t kDefault[] = L"txtfile";
            RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kDefault),
                           sizeof(kDefault));
            RegCloseKey(key);
        }
        DeleteFileW(link_.c_str());
        SetFileAttributesW(template_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(template_.c_str());
        RemoveDirectoryW(shellNew_.c_str());
    }

    // Runs Install.exe, answers each message box in turn with OK, and returns their texts once
    // its window is up; the window is then closed and the program must end by itself.
    std::vector<MessageBoxInfo> RunInstaller(int expectedBoxes) {
        std::vector<MessageBoxInfo> boxes;
        App install;
        if (!install.Launch(folder_ + L"\\Install.exe", L"", {})) {
            ADD_FAILURE() << "Install.exe did not start";
            return boxes;
        }
        HWND previous = nullptr;
        for (int i = 0; i < expectedBoxes; ++i) {
            MessageBoxInfo box;
            WaitFor(
                [&] {
                    box = install.WaitMessageBox(200ms);
                    return box.hwnd && box.hwnd != previous && IsWindow(box.hwnd);
                },
                15s);
            if (!box.hwnd || box.hwnd == previous) {
                ADD_FAILURE() << "message box " << i + 1 << " did not come";
                return boxes;
            }
            // The window must not be there while a box is up.
            EXPECT_EQ(install.WaitWindow(L"QuilletInstallerWindow", 0ms), nullptr);
            boxes.push_back(box);
            previous = box.hwnd;
            EXPECT_TRUE(install.ClickButton(box.hwnd, IDOK));
            WaitFor([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); }, 5s);
        }
        HWND window = install.WaitWindow(L"QuilletInstallerWindow", 15s);
        EXPECT_NE(window, nullptr) << "the installer's window did not open";
        if (window) {
            EXPECT_EQ(TextOf(window), L"Мои программы");
            // No browser engine under Wine here: the page's address is shown instead.
            EXPECT_TRUE(WaitFor([&] { return ShowsText(window, L"https://example.org/site/"); }, 5s));
            RECT client;
            GetClientRect(window, &client);
            EXPECT_GT(client.right, 0);
            if (!Env().shotsFolder.empty())
                Screenshot(Env().shotsFolder + L"installer_window.bmp");
            PostMessageW(window, WM_CLOSE, 0, 0);
            EXPECT_EQ(install.WaitExit(10s), 0) << "the installer did not end with its window";
        }
        return boxes;
    }

    // The started Quillet shows the document: its caption names it and the text is its content.
    // The process is ended afterwards.
    void ExpectShowsDocument(HANDLE process, DWORD pid) {
        HWND main = nullptr;
        WaitFor(
            [&] {
                for (HWND hwnd : TopWindows(pid))
                    if (ClassOf(hwnd) == L"QuilletMain")
                        main = hwnd;
                return main != nullptr;
            },
            15s);
        EXPECT_NE(main, nullptr) << "Quillet did not start";
        if (main) {
            EXPECT_TRUE(
                WaitFor([&] { return TextOf(main) == L" Мой документ с пробелами.txt - Квиллет"; }, 10s))
                << "caption length " << TextOf(main).size();
            HWND text = FindDescendant(main, L"QuilletText");
            EXPECT_TRUE(WaitFor([&] { return TextOf(text) == L"Открыто через ассоциацию\r\n"; }, 5s));
            EXPECT_EQ(AutomationControlType(text), 50030) << "a screen reader finds no document";
        }
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }

    TempFolder temp_;
    std::wstring folder_, shellNew_, template_, link_;
};

TEST_F(InstallerEndToEnd, RegistersQuilletMakesItsShortcutAndEmptiesTheTemplateAndTwiceChangesNothing) {
    CreateDirectoryW(shellNew_.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(template_, "text from before"));

    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        auto boxes = RunInstaller(1);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, L"Install");
        EXPECT_EQ(boxes[0].text, L"Установка программы завершена.");

        std::wstring editor = folder_ + L"\\Quillet.exe";
        DWORD bytes = 0;
        EXPECT_EQ(ClassesValue(L".txt", nullptr, &bytes), kDocumentKind);
        EXPECT_EQ(bytes, (kDocumentKind.size() + 1) * sizeof(wchar_t)) << "the terminator is stored";
        EXPECT_EQ(ClassesValue(L".txt\\DefaultIcon", nullptr), editor);
        EXPECT_EQ(ClassesValue(L".txt\\Shell\\Open\\Command", nullptr), L"\"" + editor + L"\" %1");
        EXPECT_EQ(ClassesValue(L".txt\\ShellNew", L"FileName"), template_);
        // The file type that .txt names, so the shell finds the program through it.
        EXPECT_EQ(ClassesValue(kDocumentKind, nullptr), kDocumentKind);
        EXPECT_EQ(ClassesValue(kDocumentKind + L"\\DefaultIcon", nullptr), editor);
        EXPECT_EQ(ClassesValue(kDocumentKind + L"\\Shell\\Open\\Command", nullptr),
                  L"\"" + editor + L"\" %1");

        auto link = ReadLink(link_);
        ASSERT_TRUE(link.has_value()) << "no shortcut in the Start menu's Programs";
        EXPECT_EQ(link->target, editor);
        EXPECT_EQ(link->workingDirectory, folder_);
        EXPECT_EQ(link->iconPath, editor);
        EXPECT_EQ(link->iconIndex, 0);
        EXPECT_EQ(link->description, kDocumentKind);
        EXPECT_EQ(link->showCommand, SW_SHOWNORMAL);
        EXPECT_EQ(link->hotKey, 0);
        EXPECT_EQ(CountFiles(ProgramsFolder() + L"\\Текстовый документ*"), 1);

        EXPECT_EQ(FileSize(template_), 0);
        EXPECT_EQ(CountFiles(shellNew_ + L"\\*.txt"), 1);
        WriteBytes(template_, "typed in between");
    }
}

TEST_F(InstallerEndToEnd, AMissingShellNewFolderIsReportedAndNotCreatedAndTheEndSaysWhatFailed) {
    auto boxes = RunInstaller(2);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, L"Install");
    EXPECT_EQ(boxes[0].text, L"Файл \"" + template_ + L"\" сохранить не возможно.");
    EXPECT_EQ(boxes[1].title, L"Install");
    EXPECT_EQ(boxes[1].text, L"Установка программы завершена не полностью. Не удалось:\n"
                             L"— создать шаблон для команды «Создать» → «Текстовый документ».");
    EXPECT_EQ(GetFileAttributesW(shellNew_.c_str()), INVALID_FILE_ATTRIBUTES);
    // The rest of the installation is done all the same.
    EXPECT_TRUE(ReadLink(link_).has_value());
    EXPECT_TRUE(ClassesValue(L".txt\\Shell\\Open\\Command", nullptr).has_value());
}

TEST_F(InstallerEndToEnd, AReadOnlyTemplateIsReportedAsWriteProtectedAndKeepsItsText) {
    CreateDirectoryW(shellNew_.c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(template_, "keep"));
    SetFileAttributesW(template_.c_str(), FILE_ATTRIBUTE_READONLY);
    auto boxes = RunInstaller(2);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Файл \"" + template_ + L"\" защищён от записи.");
    EXPECT_NE(boxes[1].text.find(L"завершена не полностью"), std::wstring::npos);
    EXPECT_EQ(FileSize(template_), 4);
}

TEST_F(InstallerEndToEnd, QuilletStartedByTheRegisteredCommandOpensTheDocument) {
    CreateDirectoryW(shellNew_.c_str(), nullptr);
    ASSERT_EQ(RunInstaller(1).size(), 1u);

    std::wstring document = temp_.Path() + L"Мой документ с пробелами.txt";
    ASSERT_TRUE(WriteBytes(document, Cp1251(L"Открыто через ассоциацию\r\n")));

    // What the shell does for a double-click: the registered command, %1 replaced by the path.
    auto command = ClassesValue(L".txt\\Shell\\Open\\Command", nullptr);
    ASSERT_TRUE(command.has_value());
    std::wstring line = *command;
    auto at = line.find(L"%1");
    ASSERT_NE(at, std::wstring::npos);
    line.replace(at, 2, document);
    wchar_t expanded[2048] = {};
    ASSERT_GT(ExpandEnvironmentStringsW(line.c_str(), expanded, 2048), 0u);

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, expanded, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process));
    CloseHandle(process.hThread);
    ExpectShowsDocument(process.hProcess, process.dwProcessId);
}

TEST_F(InstallerEndToEnd, TheShellOpensATextDocumentWithQuilletAfterInstalling) {
    CreateDirectoryW(shellNew_.c_str(), nullptr);
    ASSERT_EQ(RunInstaller(1).size(), 1u);
    std::wstring document = temp_.Path() + L"Мой документ с пробелами.txt";
    ASSERT_TRUE(WriteBytes(document, Cp1251(L"Открыто через ассоциацию\r\n")));

    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = document.c_str();
    info.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExW(&info)) << "the shell found no program for .txt, error " << GetLastError();
    ASSERT_NE(info.hProcess, nullptr);
    ExpectShowsDocument(info.hProcess, GetProcessId(info.hProcess));
}

} // namespace
