#pragma once
// Makes the test prefix open .html pages with shell_open_recorder.exe instead of a browser,
// for as long as the object lives, and reads back what the recorder was asked to open. The
// association that was there before is put back at the end.

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace quillet::testing {

struct RecordedOpen {
    std::wstring arguments; // the command-line text after the program name
    std::wstring folder;    // the working folder it was started in
};

class ShellOpenDouble {
public:
    // recorder: full path of shell_open_recorder.exe.
    explicit ShellOpenDouble(std::wstring recorder) : recorder_(std::move(recorder)) {
        log_ = recorder_.substr(0, recorder_.find_last_of(L'\\') + 1) + L"shell_open_recorder.log";
        DeleteFileW(log_.c_str());
        oldHtml_ = ReadDefault(L".html");
        oldHtm_ = ReadDefault(L".htm");
        SetDefault(L".html", kProgId);
        SetDefault(L".htm", kProgId);
        SetDefault(std::wstring(kProgId) + L"\\shell\\open\\command", L"\"" + recorder_ + L"\" \"%1\"");
    }
    ~ShellOpenDouble() {
        Restore(L".html", oldHtml_);
        Restore(L".htm", oldHtm_);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
        DeleteFileW(log_.c_str());
    }
    ShellOpenDouble(const ShellOpenDouble&) = delete;
    ShellOpenDouble& operator=(const ShellOpenDouble&) = delete;

    bool RecorderExists() const { return GetFileAttributesW(recorder_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Everything recorded so far.
    std::vector<RecordedOpen> Opens() const {
        std::vector<RecordedOpen> result;
        HANDLE file = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return result;
        std::wstring text(GetFileSize(file, nullptr) / sizeof(wchar_t), L'\0');
        DWORD read = 0;
        ReadFile(file, text.data(), DWORD(text.size() * sizeof(wchar_t)), &read, nullptr);
        CloseHandle(file);
        size_t start = 0;
        for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
            std::wstring line = text.substr(start, end - start);
            size_t tab = line.find(L'\t');
            result.push_back({line.substr(0, tab), tab == std::wstring::npos ? L"" : line.substr(tab + 1)});
        }
        return result;
    }

    // Waits until at least count openings have been recorded.
    std::vector<RecordedOpen> WaitOpens(size_t count,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
        auto until = std::chrono::steady_clock::now() + timeout;
        std::vector<RecordedOpen> opens = Opens();
        while (opens.size() < count && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            opens = Opens();
        }
        return opens;
    }

private:
    static constexpr const wchar_t* kProgId = L"QuilletTests.ShellOpenRecorder";

    static std::optional<std::wstring> ReadDefault(const std::wstring& key) {
        wchar_t value[512] = {};
        DWORD size = sizeof(value);
        if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(value);
    }
    static void SetDefault(const std::wstring& key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }
    static void Restore(const std::wstring& key, const std::optional<std::wstring>& old) {
        if (old) {
            SetDefault(key, *old);
        } else {
            HKEY h = nullptr;
            if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_SET_VALUE | KEY_QUERY_VALUE, &h) !=
                ERROR_SUCCESS)
                return;
            RegDeleteValueW(h, nullptr);
            DWORD subkeys = 0, values = 0;
            RegQueryInfoKeyW(h, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                             nullptr, nullptr, nullptr);
            RegCloseKey(h);
            if (subkeys == 0 && values == 0) // we made it
                RegDeleteKeyW(HKEY_CLASSES_ROOT, key.c_str());
        }
    }

    std::wstring recorder_;
    std::wstring log_;
    std::optional<std::wstring> oldHtml_;
    std::optional<std::wstring> oldHtm_;
};

} // namespace quillet::testing
