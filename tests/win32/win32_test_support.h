#pragma once
// For the Win32 tests: a temporary folder with real files, a hidden top-level window that hosts a
// control and counts its EN_CHANGE, and a person answering a modal window.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace quillet::testing_win32 {

// A fresh folder, with spaces and Cyrillic in its name, removed with all it holds.
class TempDir {
public:
    TempDir() {
        static int counter = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        path_ = std::wstring(temp) + L"Проверка квиллета " + std::to_wstring(GetCurrentProcessId()) + L"-" +
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
    std::vector<std::wstring> Files() const {
        std::vector<std::wstring> names;
        ForEach(path_, [&](const std::wstring& name, DWORD) { names.push_back(name); });
        return names;
    }

    static bool Write(const std::wstring& path, const std::string& bytes) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD done = 0;
        bool ok = f != INVALID_HANDLE_VALUE &&
                  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size();
        CloseHandle(f);
        return ok;
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
    template <typename Visit> static void ForEach(const std::wstring& folder, Visit visit) {
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do {
            std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..")
                visit(name, fd.dwFileAttributes);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    static void Remove(const std::wstring& folder) {
        ForEach(folder, [&](const std::wstring& name, DWORD attributes) {
            std::wstring full = folder + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL); // read-only files too
            if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                Remove(full + L"\\");
            else
                DeleteFileW(full.c_str());
        });
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring path_;
};

// Lets posted and timer messages run.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A top-level window that counts EN_CHANGE from its children; hidden unless asked.
class HostWindow {
public:
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
    static void Pump() { testing_win32::Pump(); }

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

// Plays the person at the dialog that `show` opens on this thread, returning once it has closed:
// each step runs in the dialog's own loop after the messages of the one before have been handled
// (a timer fires only when nothing else waits). A dialog still up 10 s on is ended, so that a
// fault fails the test instead of hanging it. True when every step ran and the dialog then closed
// by itself.
using Step = std::function<void(HWND)>;

class Answerer {
public:
    static bool Answer(const std::function<void()>& show, std::vector<Step> steps) {
        Answerer script{std::move(steps)};
        current_ = &script;
        UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, Tick);
        show();
        KillTimer(nullptr, timer);
        current_ = nullptr;
        return script.next_ == script.steps_.size() && !script.ended_;
    }

private:
    explicit Answerer(std::vector<Step> steps) : steps_(std::move(steps)) {}
    static BOOL CALLBACK IsDialog(HWND hwnd, LPARAM found) {
        wchar_t cls[8] = {};
        GetClassNameW(hwnd, cls, 8);
        if (!IsWindowVisible(hwnd) || std::wstring(cls) != L"#32770")
            return TRUE;
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        Answerer& s = *current_;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), IsDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!dialog || s.inStep_)
            return;
        if (GetTickCount() > s.deadline_) {
            s.ended_ = true;
            EndDialog(dialog, IDCANCEL);
        } else if (s.next_ < s.steps_.size()) {
            s.inStep_ = true;
            s.steps_[s.next_++](dialog);
            s.inStep_ = false;
        }
    }
    static inline Answerer* current_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD deadline_ = GetTickCount() + 10000;
    bool inStep_ = false, ended_ = false;
};

inline bool Answer(const std::function<void()>& show, std::vector<Step> steps) {
    return Answerer::Answer(show, std::move(steps));
}

} // namespace quillet::testing_win32
