// Stands in for the browser in tests: the shell starts it to open a page. It records what it
// was asked to open and from which folder, in a log beside itself, and ends at once.

#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log(self);
    log = log.substr(0, log.find_last_of(L'\\') + 1) + L"shell_open_recorder.log";
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);

    // One UTF-16 line per opening: the argument text, a tab, the working folder.
    std::wstring line = std::wstring(commandLine ? commandLine : L"") + L"\t" + folder + L"\r\n";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, line.data(), DWORD(line.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
