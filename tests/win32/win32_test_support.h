#pragma once
// For Win32 tests: a temporary folder with real files, and a top-level window that hosts a
// control and records the notifications it receives.

#include <windows.h>

#include <string>
#include <vector>

namespace quillet::testing_win32 {

class TempDir {
public:
    TempDir() {
        static int counter = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"quillet-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"\\";
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~TempDir() { Remove(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::wstring Path(const std::wstring& name = L"") const { return path_ + name; }
    std::u16string Path16(const std::wstring& name = L"") const {
        std::wstring p = Path(name);
        return std::u16string(p.begin(), p.end());
    }
    // Names of the files in the folder.
    std::vector<std::wstring> Files() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((path_ + L"*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..")
                names.push_back(name);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
        return names;
    }

    static bool Write(const std::wstring& path, const std::string& bytes) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return false;
        DWORD done = 0;
        bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) != 0;
        CloseHandle(f);
        return ok && done == bytes.size();
    }
    static std::string Read(const std::wstring& path) {
        HANDLE f =
            CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string bytes(GetFileSize(f, nullptr), '\0');
        DWORD done = 0;
        if (!bytes.empty())
            ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
        CloseHandle(f);
        return bytes;
    }

private:
    static void Remove(const std::wstring& folder) {
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &fd);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = fd.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring full = folder + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    Remove(full + L"\\");
                else
                    DeleteFileW(full.c_str());
            } while (FindNextFileW(find, &fd));
            FindClose(find);
        }
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring path_;
};

// A visible top-level window that counts EN_CHANGE from its children.
class HostWindow {
public:
    // Hidden unless asked: showing and hiding top-level windows is slow under Wine.
    explicit HostWindow(bool visible = false, int width = 400, int height = 300) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &HostWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QuilletTestHost";
        RegisterClassW(&wc);
        hwnd_ =
            CreateWindowExW(0, L"QuilletTestHost", L"host", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0),
                            0, 0, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    }
    ~HostWindow() {
        if (hwnd_)
            DestroyWindow(hwnd_);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    int enChanges = 0;

    // Lets posted and timer messages run.
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
            ++self->enChanges;
        if (self && msg == WM_NCDESTROY)
            self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

} // namespace quillet::testing_win32
