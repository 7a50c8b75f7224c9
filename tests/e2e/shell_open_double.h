#pragma once
// Makes the test prefix open .html pages with shell_open_recorder.exe instead of a browser, for
// as long as the object lives, and reads back what the recorder was asked to open. The
// association that was there before is put back at the end.

#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace quillet::testing {

class ShellOpenDouble {
public:
    // recorder: full path of shell_open_recorder.exe, which logs beside itself.
    explicit ShellOpenDouble(std::wstring recorder)
        : recorder_(std::move(recorder)),
          log_(recorder_.substr(0, recorder_.find_last_of(L'\\') + 1) + L"shell_open_recorder.log") {
        DeleteFileW(log_.c_str());
        wchar_t value[512] = {};
        DWORD size = sizeof value;
        RegGetValueW(HKEY_CLASSES_ROOT, L".html", nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
        old_ = value;
        SetDefault(L".html", kProgId);
        SetDefault(std::wstring(kProgId) + L"\\shell\\open\\command", L"\"" + recorder_ + L"\" \"%1\"");
    }
    ~ShellOpenDouble() {
        if (old_.empty())
            RegDeleteKeyValueW(HKEY_CLASSES_ROOT, L".html", nullptr);
        else
            SetDefault(L".html", old_);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, kProgId);
        RegDeleteKeyW(HKEY_CLASSES_ROOT, kProgId);
        DeleteFileW(log_.c_str());
    }
    ShellOpenDouble(const ShellOpenDouble&) = delete;
    ShellOpenDouble& operator=(const ShellOpenDouble&) = delete;

    // Waits until at least count openings are recorded; the command-line text after the program
    // name of each one recorded by then, read from the log's UTF-16 lines.
    std::vector<std::wstring> WaitOpens(size_t count,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(15)) {
        std::vector<std::wstring> opens;
        for (auto until = std::chrono::steady_clock::now() + timeout;
             opens.size() < count && std::chrono::steady_clock::now() < until;
             std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            HANDLE file = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            std::wstring text(file == INVALID_HANDLE_VALUE ? 0 : GetFileSize(file, nullptr) / 2, L'\0');
            DWORD read = 0;
            ReadFile(file, text.data(), DWORD(text.size() * 2), &read, nullptr);
            CloseHandle(file);
            opens.clear();
            for (size_t start = 0, end; (end = text.find(L"\r\n", start)) != std::wstring::npos;
                 start = end + 2)
                opens.push_back(text.substr(start, end - start));
        }
        return opens;
    }

private:
    static constexpr const wchar_t* kProgId = L"QuilletTests.ShellOpenRecorder";

    static void SetDefault(const std::wstring& key, const std::wstring& value) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                        DWORD((value.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring recorder_, log_;
    std::wstring old_; // the association before, empty if there was none
};

} // namespace quillet::testing
