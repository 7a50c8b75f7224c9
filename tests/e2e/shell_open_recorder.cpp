// Stands in for the browser in tests: the shell starts it to open a page. It records what it
// was asked to open in a log beside itself, and ends at once.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring log = std::wstring(self, wcsrchr(self, L'\\') + 1) + L"shell_open_recorder.log";

    // One UTF-16 line per opening: the argument text.
    std::wstring line = std::wstring(commandLine ? commandLine : L"") + L"\r\n";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = WriteFile(file, line.data(), DWORD(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
