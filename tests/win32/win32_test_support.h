#pragma once
// For the Win32 tests: a temporary folder with real files (the end-to-end tests use it too), a
// hidden top-level window that hosts a control and counts its EN_CHANGE, and a person answering a
// modal dialog.

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace quillet::testing_win32 {

// A fresh folder, with a space and Cyrillic in its name, removed with all it holds.
class TempDir {
public:
    TempDir() {
        static int counter = 0;
        root_ = std::filesystem::temp_directory_path() /
                (L"Проверка квиллета " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++counter));
        std::filesystem::create_directory(root_);
    }
    ~TempDir() {
        std::error_code error;
        std::filesystem::current_path(root_.parent_path(), error); // a file dialog may have left us in it
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root_, error))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL); // read-only ones too
        std::filesystem::remove_all(root_, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::wstring Path(const std::wstring& name = L"") const { return root_.wstring() + L"\\" + name; }
    std::u16string Path16(const std::wstring& name = L"") const {
        std::wstring path = Path(name);
        return std::u16string(path.begin(), path.end());
    }
    static bool Write(const std::wstring& path, const std::string& bytes) {
        std::ofstream out(std::filesystem::path(path), std::ios::binary);
        return bool(out.write(bytes.data(), std::streamsize(bytes.size())));
    }
    static std::string Read(const std::wstring& path) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    }

private:
    std::filesystem::path root_;
};

// Lets posted and timer messages run.
inline void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// A window's text; where a control is in its parent's client area; the font it shows its text in.
inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}
inline RECT PlaceOf(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}
inline LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(HFONT(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// Shift and Ctrl as the thread's key state has them, which is where key handlers read them.
inline void HoldKeys(bool shift, bool ctrl) {
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(state);
}

// A hidden top-level window that counts EN_CHANGE from its children.
class HostWindow {
public:
    HostWindow() {
        WNDCLASSW wc{0, &HostWindow::Proc, 0, 0, GetModuleHandleW(nullptr)};
        wc.lpszClassName = L"QuilletTestHost";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                nullptr, wc.hInstance, this);
    }
    ~HostWindow() { DestroyWindow(hwnd_); }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND Handle() const { return hwnd_; }
    int enChanges = 0;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && msg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
            ++self->enChanges;
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    HWND hwnd_ = nullptr;
};

// Plays the person at the dialog that `show` opens on this thread, returning once it has closed:
// each step runs in the dialog's own loop after the messages of the one before have been handled
// (a timer fires only when nothing else waits). A dialog still up 10 s on is ended, so that a fault
// fails the test instead of hanging it. True when every step ran and the dialog then closed itself.
using Step = std::function<void(HWND)>;

namespace answering {
struct Script {
    std::vector<Step> steps;
    size_t next = 0;
    DWORD deadline = GetTickCount() + 10000;
    bool ended = false;
};
inline Script* script = nullptr;

inline void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = GetActiveWindow();
    wchar_t cls[8] = {};
    if (!IsWindowVisible(dialog) || !GetClassNameW(dialog, cls, 8) || std::wstring(cls) != L"#32770")
        return; // not up yet
    if (GetTickCount() > script->deadline) {
        script->ended = true;
        EndDialog(dialog, IDCANCEL);
    } else if (script->next < script->steps.size()) {
        script->steps[script->next++](dialog);
    }
}
} // namespace answering

inline bool Answer(const std::function<void()>& show, std::vector<Step> steps) {
    answering::Script script{std::move(steps)};
    answering::script = &script;
    UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, answering::Tick);
    show();
    KillTimer(nullptr, timer);
    return script.next == script.steps.size() && !script.ended;
}

} // namespace quillet::testing_win32
