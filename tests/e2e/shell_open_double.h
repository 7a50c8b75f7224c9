#pragma once
// Makes the test prefix open .html pages with shell_open_recorder.exe instead of a browser, for
// as long as the object lives, and reads back what the recorder was asked to open. The
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
    // recorder: full path of shell_open_recorder.exe, which logs beside itself.
    explicit ShellOpenDouble(std::wstring recorder)
        : recorder_(std::move(recorder)),
          log_(recorder_.substr(0, recorder_.find_last_of(L'\\') + 1) + L"shell_open_recorder.log") {
        DeleteFileW(log_.c_str());
        for (int i = 0; i < 2; ++i) {
            old_[i] = ReadDefault(kTypes[i]);
            SetDefault(kTypes[i], kProgId);
        }
        SetDefault(std::wstring(kProgId) + L"\\shell\\open\\command", L"\"" + recorder_ + L"\" \"%1\"");
    }
    ~ShellOpenDouble() {
        for (int i = 0; i < 2; ++i) {
            if (old_[i])
                SetDefault(kTypes[i], *old_[i]);
            else
                RegDeleteKeyValueW(HKEY_CLASSES_ROOT, kTypes[i], nullptr);
        }
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
        DeleteFileW(log_.c_str());
    }
    ShellOpenDouble(const ShellOpenDouble&) = delete;
    ShellOpenDouble& operator=(const ShellOpenDouble&) = delete;

    bool RecorderExists() const { return GetFileAttributesW(recorder_.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Waits until at least count openings are recorded; all those recorded by then.
    std::vector<RecordedOpen> WaitOpens(size_t count,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
        const auto until = std::chrono::steady_clock::now() + timeout;
        std::vector<RecordedOpen> opens = Opens();
        for (; opens.size() < count && std::chrono::steady_clock::now() < until; opens = Opens())
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return opens;
    }

private:
    static constexpr const wchar_t* kProgId = L"QuilletTests.ShellOpenRecorder";
    static constexpr const wchar_t* kTypes[2] = {L".html", L".htm"};

    // One UTF-16 line per opening: the arguments, a tab, the folder.
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
        for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
             start = end + 2) {
            const size_t tab = text.find(L'\t', start);
            result.push_back({text.substr(start, tab - start), text.substr(tab + 1, end - tab - 1)});
        }
        return result;
    }
    static std::optional<std::wstring> ReadDefault(const std::wstring& key) {
        wchar_t value[512] = {};
        DWORD size = sizeof(value);
        if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size))
            return std::nullopt;
        return std::wstring(value);
    }
    static void SetDefault(const std::wstring& key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring recorder_;
    std::wstring log_;
    std::optional<std::wstring> old_[2];
};

} // namespace quillet::testing
