#include "tests/e2e/driver.h"

#include <algorithm>
#include <cstdio>
#include <thread>

namespace quillet::e2e {

namespace {

constexpr UINT kSendTimeoutMs = 3000;

LRESULT SendWithTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    LRESULT sent = SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                       kSendTimeoutMs, &result);
    if (ok)
        *ok = sent != 0;
    return static_cast<LRESULT>(result);
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_INSERT:
    case VK_DELETE: in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY; break;
    default: break;
    }
    return in;
}

void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring full = folder + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(full + L"\\");
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

} // namespace

Environment& Env() {
    static Environment env;
    return env;
}

bool WaitFor(const std::function<bool()>& ready, Millis timeout, Millis step) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (ready())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    if (!hwnd)
        return {};
    bool ok = false;
    LRESULT length = SendWithTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0, &ok);
    if (!ok || length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendWithTimeout(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), &ok);
    if (!ok)
        return {};
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, length)));
    return text;
}

bool SetTextOf(HWND hwnd, const std::wstring& text) {
    bool ok = false;
    SendWithTimeout(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &ok);
    return ok;
}

std::vector<HWND> TopWindows(DWORD pid) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
            auto s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->pid && IsWindowVisible(hwnd))
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDescendant(HWND parent, const std::wstring& className, int id) {
    struct Search {
        std::wstring className;
        int id;
        HWND found;
    } search{className, id, nullptr};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM param) CALLBACK -> BOOL {
            auto s = reinterpret_cast<Search*>(param);
            if ((s->className.empty() || _wcsicmp(ClassOf(hwnd).c_str(), s->className.c_str()) == 0) &&
                (s->id < 0 || GetDlgCtrlID(hwnd) == s->id)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        if (c == L'\n')
            continue; // Enter is a key: "\r" types it
        if (c == L'\r') {
            inputs.push_back(KeyInput(VK_RETURN, false));
            inputs.push_back(KeyInput(VK_RETURN, true));
            continue;
        }
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = c;
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        inputs.push_back(in);
    }
    if (!inputs.empty())
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        inputs.push_back(KeyInput(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool Screenshot(const std::wstring& path) {
    HWND desktop = GetDesktopWindow();
    RECT rc{};
    GetWindowRect(desktop, &rc);
    int w = rc.right - rc.left;
    int h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(desktop);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h; // bottom-up, as .bmp files store it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (dib) {
        HGDIOBJ old = SelectObject(mem, dib);
        BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
        GdiFlush();
        DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
        DWORD imageSize = stride * static_cast<DWORD>(h);
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
        fh.bfSize = fh.bfOffBits + imageSize;
        bi.bmiHeader.biSizeImage = imageSize;
        std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
        bytes.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
        bytes.append(static_cast<const char*>(bits), imageSize);
        ok = WriteBytes(path, bytes);
        SelectObject(mem, old);
        DeleteObject(dib);
    }
    DeleteDC(mem);
    ReleaseDC(desktop, screen);
    return ok;
}

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"quillet-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter) + L"\\";
    DeleteTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    DeleteTree(path_);
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD done = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size();
    CloseHandle(file);
    return ok;
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD done = 0;
    bool ok =
        bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                          done == bytes.size());
    CloseHandle(file);
    return ok;
}

std::string Cp1251(const std::wstring& text) {
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(1251, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// ---- App

App::~App() {
    if (Running())
        Kill();
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

std::vector<std::wstring> App::DefaultSettingsKeys() {
    return {L"Software\\Quillet"};
}

bool App::Launch(const std::wstring& exe, const std::wstring& arguments,
                 const std::vector<std::wstring>& freshSettingsKeys) {
    for (const auto& key : freshSettingsKeys)
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()), RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &si, &process_))
        return false;
    return true;
}

bool App::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

int App::WaitExit(Millis timeout) {
    if (!process_.hProcess)
        return -1;
    if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

void App::Kill() {
    if (process_.hProcess && Running()) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
}

HWND App::WaitWindow(const std::wstring& className, Millis timeout) const {
    return WaitWindow([&](HWND hwnd) { return ClassOf(hwnd) == className; }, timeout);
}

HWND App::WaitWindow(const std::function<bool(HWND)>& matches, Millis timeout) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND hwnd : TopWindows(Pid()))
                if (matches(hwnd)) {
                    found = hwnd;
                    return true;
                }
            return !Running();
        },
        timeout);
    return found;
}

bool WaitGone(HWND hwnd, Millis timeout) {
    return WaitFor([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeout);
}

HWND App::WaitMainWindow(Millis timeout) {
    main_ = WaitWindow(L"QuilletMain", timeout);
    return main_;
}

bool App::Open(const std::wstring& path, Millis timeout) {
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return Launch(Env().quilletExe, L"\"" + path + L"\"") && WaitMainWindow(timeout) &&
           WaitCaption(L" " + name + L" - Квиллет", timeout) && Activate();
}

HWND App::TextControl() const {
    return main_ ? FindDescendant(main_, L"QuilletText") : nullptr;
}

bool App::WaitCaption(const std::wstring& caption, Millis timeout) const {
    return WaitFor([&] { return Caption() == caption; }, timeout);
}

std::wstring App::Text() const {
    return TextOf(TextControl());
}

bool App::WaitText(const std::wstring& text, Millis timeout) const {
    return WaitFor([&] { return Text() == text; }, timeout);
}

int App::TextLength() const {
    bool ok = false;
    LRESULT n = SendWithTimeout(TextControl(), WM_GETTEXTLENGTH, 0, 0, &ok);
    return ok ? static_cast<int>(n) : -1;
}

std::pair<int, int> App::Selection() const {
    LRESULT sel = SendWithTimeout(TextControl(), EM_GETSEL, 0, 0);
    return {LOWORD(sel), HIWORD(sel)};
}

bool App::Activate(HWND hwnd) {
    if (!hwnd)
        hwnd = main_;
    if (!hwnd)
        return false;
    SetForegroundWindow(hwnd);
    return WaitFor([&] { return GetForegroundWindow() == hwnd; }, 3s);
}

bool App::Sync(Millis timeout) const {
    // Input that SendInput queued reaches the program before anything sent later is answered.
    std::this_thread::sleep_for(30ms);
    bool ok = false;
    DWORD_PTR result = 0;
    ok = SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(timeout.count()),
                             &result);
    WaitForInputIdle(process_.hProcess, static_cast<DWORD>(timeout.count()));
    return ok;
}

MessageBoxInfo App::WaitMessageBox(Millis timeout) const {
    MessageBoxInfo info;
    WaitFor(
        [&] {
            for (HWND hwnd : TopWindows(process_.dwProcessId))
                if (ClassOf(hwnd) == L"#32770") {
                    info.hwnd = hwnd;
                    return true;
                }
            return false;
        },
        timeout);
    if (!info.hwnd)
        return info;
    info.title = TextOf(info.hwnd);
    // The message is the static control with text (the icon's static has none).
    EnumChildWindows(
        info.hwnd,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            auto out = reinterpret_cast<MessageBoxInfo*>(param);
            if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0) {
                std::wstring text = TextOf(child);
                if (!text.empty()) {
                    out->text = text;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&info));
    return info;
}

bool App::ClickButton(HWND dialog, int id) const {
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return false;
    // The click may close the dialog; posting keeps us from waiting on its modal loop.
    return PostMessageW(button, BM_CLICK, 0, 0) != 0;
}

bool App::AcceptFileDialog(HWND dialog, const std::wstring& fileName) const {
    HWND field = GetDlgItem(dialog, 1148);
    if (!field)
        field = FindDescendant(dialog, L"", 1148);
    if (!field)
        return false;
    HWND edit = ClassOf(field) == L"Edit" ? field : FindDescendant(field, L"Edit");
    if (!SetTextOf(edit ? edit : field, fileName))
        return false;
    return ClickButton(dialog, IDOK);
}

void App::Close() const {
    if (main_)
        PostMessageW(main_, WM_CLOSE, 0, 0);
}

} // namespace quillet::e2e
