#include "tests/e2e/driver.h"

#include <thread>

namespace quillet::e2e {

namespace {

LRESULT SendWithTimeout(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, bool* ok = nullptr) {
    DWORD_PTR result = 0;
    bool sent = SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, 3000, &result);
    if (ok)
        *ok = sent;
    return LRESULT(result);
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    if ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE)
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    return in;
}

} // namespace

Environment& Env() {
    static Environment env;
    return env;
}

bool WaitFor(const std::function<bool()>& ready, Millis timeout, Millis step) {
    for (auto deadline = std::chrono::steady_clock::now() + timeout; !ready();
         std::this_thread::sleep_for(step))
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
    return true;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

std::wstring TextOf(HWND hwnd) {
    bool ok = false;
    const LRESULT length = hwnd ? SendWithTimeout(hwnd, WM_GETTEXTLENGTH, 0, 0, &ok) : 0;
    std::wstring text(ok && length > 0 ? size_t(length) + 1 : 0, L'\0');
    if (!text.empty())
        text.resize(size_t(SendWithTimeout(hwnd, WM_GETTEXT, text.size(), LPARAM(text.data()), &ok)));
    return ok ? text : L"";
}

std::vector<HWND> TopWindows(DWORD pid) {
    std::vector<HWND> found;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == pid && IsWindowVisible(hwnd))
            found.push_back(hwnd);
    }
    return found;
}

void TypeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text)
        for (bool up : {false, true}) {
            inputs.push_back(KeyInput(c == L'\r' ? VK_RETURN : 0, up));
            if (c != L'\r')
                inputs.back().ki.wScan = c, inputs.back().ki.dwFlags |= KEYEVENTF_UNICODE;
        }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    for (WORD m : modifiers)
        inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        inputs.push_back(KeyInput(*m, true));
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::string Cp1251(const std::wstring& text) {
    std::string out(text.size() * 2, '\0');
    out.resize(size_t(WideCharToMultiByte(1251, 0, text.data(), int(text.size()), out.data(), int(out.size()),
                                          nullptr, nullptr)));
    return out;
}

App::~App() {
    Kill();
    CloseHandle(process_);
}

bool App::Launch(const std::wstring& exe, const std::wstring& arguments) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quillet");
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Quillet");
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return false;
    CloseHandle(started.hThread);
    process_ = started.hProcess;
    return true;
}

bool App::Open(const std::wstring& file, Millis timeout) {
    const std::wstring name = file.substr(file.find_last_of(L'\\') + 1);
    return Launch(Env().quilletExe, L"\"" + file + L"\"") && WaitReady(L" " + name + L" - Квиллет", timeout);
}

bool App::WaitReady(const std::wstring& caption, Millis timeout) {
    main_ = WaitWindow([](HWND hwnd) { return ClassOf(hwnd) == L"QuilletMain"; }, timeout);
    return main_ && WaitFor([&] { return Caption() == caption; }, timeout) && Activate();
}

int App::WaitExit(Millis timeout) {
    DWORD code = 0;
    const bool ended = process_ && WaitForSingleObject(process_, DWORD(timeout.count())) == WAIT_OBJECT_0;
    return ended && GetExitCodeProcess(process_, &code) ? int(code) : -1;
}

void App::Kill() {
    if (Running() && TerminateProcess(process_, 99))
        WaitForSingleObject(process_, 5000);
}

HWND App::WaitWindow(const std::function<bool(HWND)>& matches, Millis timeout) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND hwnd : TopWindows(Pid()))
                if (matches(hwnd))
                    return (found = hwnd) != nullptr;
            return !Running();
        },
        timeout);
    return found;
}

HWND App::WaitDialog(const std::wstring& caption, Millis timeout) const {
    return WaitWindow(
        [&](HWND hwnd) {
            GUITHREADINFO thread{sizeof thread};
            return ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == caption &&
                   GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &thread) &&
                   IsChild(hwnd, thread.hwndFocus);
        },
        timeout);
}

bool App::WaitText(const std::wstring& text, Millis timeout) const {
    return WaitFor([&] { return Text() == text; }, timeout);
}

int App::TextLength() const {
    bool ok = false;
    const LRESULT length = SendWithTimeout(TextControl(), WM_GETTEXTLENGTH, 0, 0, &ok);
    return ok ? int(length) : -1;
}

bool App::WaitSelection(int start, int end) const {
    return WaitFor([&] { return SendWithTimeout(TextControl(), EM_GETSEL, 0, 0) == MAKELONG(start, end); });
}

bool App::Activate() {
    SetForegroundWindow(main_);
    return main_ && WaitFor([&] { return GetForegroundWindow() == main_; }, 3s);
}

void App::Press(WORD vk, std::initializer_list<WORD> modifiers) {
    Activate();
    PressKey(vk, modifiers);
}

bool App::Sync(Millis timeout) const {
    std::this_thread::sleep_for(30ms); // for input sent just before to be queued
    DWORD_PTR result = 0;
    const bool ok =
        SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, UINT(timeout.count()), &result);
    WaitForInputIdle(process_, DWORD(timeout.count()));
    return ok;
}

std::string App::Save(const std::wstring& path, Millis timeout) {
    auto written = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        return (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    };
    const uint64_t before = written();
    Press('S', {VK_CONTROL});
    // Right after its rename the program still holds the file a moment: read again until it lets go.
    std::string bytes = "<not saved>";
    WaitFor([&] { return written() != before && (bytes = TempDir::Read(path)) != "<missing>"; }, timeout);
    return bytes;
}

MessageBoxInfo App::WaitMessageBox(Millis timeout) const {
    // A message box shows its text in the static control 0xFFFF.
    HWND box =
        WaitWindow([](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, 0xFFFF); }, timeout);
    return {box, TextOf(GetDlgItem(box, 0xFFFF))};
}

std::wstring App::Answer(int button, Millis timeout) const {
    const MessageBoxInfo box = WaitMessageBox(timeout);
    if (!box.hwnd)
        return L"<no message box>";
    const bool gone = ClickButton(box.hwnd, button) && WaitFor([&] { return !IsWindow(box.hwnd); });
    Sync(); // until the program has done what was answered, unless that ended it
    return gone ? box.text : L"<not answered> " + box.text;
}

bool App::AnswerFileDialog(const std::wstring& fileName) const {
    // The common dialogs' file name box is control 1148.
    HWND dialog = WaitWindow([&](HWND hwnd) { return ClassOf(hwnd) == L"#32770" && GetDlgItem(hwnd, 1148); });
    const bool gone = dialog &&
                      (fileName.empty() ||
                       SendWithTimeout(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, LPARAM(fileName.c_str()))) &&
                      ClickButton(dialog, fileName.empty() ? IDCANCEL : IDOK) &&
                      WaitFor([&] { return !IsWindow(dialog); });
    Sync();
    return gone;
}

bool App::ClickButton(HWND dialog, int id) const {
    HWND button = GetDlgItem(dialog, id);
    return button && PostMessageW(button, BM_CLICK, 0, 0);
}

} // namespace quillet::e2e
