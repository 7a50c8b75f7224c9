// Under Wine, side by side with Wine's own notepad: time from launch to a ready window for
// Windows-1251 files of 1, 10 and 50 MB, private memory per character after loading, and the
// time of one keystroke (insert and repaint) in the middle of the 50 MB document.
// Run by tools/bench through tools/e2e-run, which passes --quillet, --log and --done.

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT timeoutMs = 60000) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, w, l, SMTO_ABORTIFHUNG, timeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

std::wstring WindowText(HWND hwnd) {
    LRESULT n = Send(hwnd, WM_GETTEXTLENGTH, 0, 0, 2000);
    if (n <= 0 || n > 4096)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    LRESULT got = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), 2000);
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, got)));
    return text;
}

struct Found {
    HWND top = nullptr;
    HWND text = nullptr;
};

Found FindWindows(DWORD pid, const std::wstring& textClass) {
    struct Search {
        DWORD pid;
        std::wstring textClass;
        Found found;
    } search{pid, textClass, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM p) CALLBACK -> BOOL {
            auto s = reinterpret_cast<Search*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->pid || !IsWindowVisible(hwnd))
                return TRUE;
            HWND child = FindWindowExW(hwnd, nullptr, s->textClass.c_str(), nullptr);
            if (!child)
                return TRUE;
            s->found = {hwnd, child};
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Deterministic text of about `bytes` bytes: lines of Russian and English words.
std::string MakeDocument(size_t bytes) {
    static const char* words[] = {"\xef\xf0\xe8\xe2\xe5\xf2",
                                  "\xec\xe8\xf0",
                                  "\xf2\xe5\xea\xf1\xf2",
                                  "editor",
                                  "\xf1\xf2\xf0\xee\xea\xe0",
                                  "file",
                                  "\xb8\xeb\xea\xe0",
                                  "quick",
                                  "brown",
                                  "fox",
                                  "\xcc\xee\xf1\xea\xe2\xe0",
                                  "1234",
                                  "\xf1\xeb\xee\xe2\xee"};
    std::string doc;
    doc.reserve(bytes + 128);
    unsigned seed = 12345;
    size_t lineLen = 0;
    while (doc.size() < bytes) {
        seed = seed * 1103515245u + 12345u;
        doc += words[(seed >> 16) % (sizeof(words) / sizeof(words[0]))];
        lineLen += 6;
        if (lineLen > 60 + (seed >> 8) % 30) {
            doc += "\r\n";
            lineLen = 0;
        } else {
            doc += ' ';
        }
    }
    doc.resize(bytes);
    return doc;
}

// Committed private memory of a process. Wine reports PrivateUsage as 0, so the address space
// is walked instead.
size_t PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc)) &&
        pmc.PrivateUsage > 0)
        return pmc.PrivateUsage;
    size_t total = 0;
    MEMORY_BASIC_INFORMATION mbi{};
    for (char* p = nullptr; VirtualQueryEx(process, p, &mbi, sizeof(mbi)) == sizeof(mbi);) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            total += mbi.RegionSize;
        char* next = static_cast<char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p)
            break;
        p = next;
    }
    return total;
}

struct Result {
    double seconds = -1;
    double bytesPerChar = -1;
};

struct Program {
    std::wstring exe;
    std::wstring textClass;
    double timeout;
};

// Launches program with file; ready when the caption names the file and the text control
// holds all of it (and has answered, so its first paint is done).
Result Measure(const Program& program, const std::wstring& file, const std::wstring& fileName, LRESULT chars,
               PROCESS_INFORMATION* keep = nullptr) {
    std::wstring cmd = L"\"" + program.exe + L"\" \"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    auto start = Clock::now();
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return {};
    Result result;
    auto deadline = start + std::chrono::duration<double>(program.timeout);
    while (Clock::now() < deadline) {
        Found w = FindWindows(pi.dwProcessId, program.textClass);
        if (w.top && WindowText(w.top).find(fileName) != std::wstring::npos &&
            Send(w.text, WM_GETTEXTLENGTH, 0, 0, 1000) == chars) {
            Send(w.top, WM_NULL, 0, 0);
            result.seconds = Seconds(Clock::now() - start);
            result.bytesPerChar = static_cast<double>(PrivateBytes(pi.hProcess)) / static_cast<double>(chars);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (keep && result.seconds >= 0) {
        *keep = pi;
        return result;
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return result;
}

// One character typed in the middle of the document: handled and repainted.
void MeasureKeystrokes(const PROCESS_INFORMATION& pi, LRESULT chars, std::vector<double>& ms) {
    Found w = FindWindows(pi.dwProcessId, L"QuilletText");
    if (!w.text)
        return;
    Send(w.text, EM_SETSEL, static_cast<WPARAM>(chars / 2), static_cast<LPARAM>(chars / 2));
    Send(w.text, WM_PAINT, 0, 0);
    UpdateWindow(w.text);
    for (int i = 0; i < 30; ++i) {
        auto t0 = Clock::now();
        Send(w.text, WM_KEYDOWN, 'X', 1);
        Send(w.text, WM_CHAR, i % 2 ? L'ж' : L'x', 1);
        RedrawWindow(w.text, nullptr, nullptr, RDW_UPDATENOW);
        Send(w.text, WM_NULL, 0, 0);
        ms.push_back(Seconds(Clock::now() - t0) * 1000.0);
    }
}

std::wstring Arg(int argc, wchar_t** argv, const wchar_t* name) {
    size_t n = std::wcslen(name);
    for (int i = 1; i < argc; ++i)
        if (std::wcsncmp(argv[i], name, n) == 0)
            return argv[i] + n;
    return {};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring quillet = Arg(argc, argv, L"--quillet=");
    std::wstring log = Arg(argc, argv, L"--log=");
    std::wstring done = Arg(argc, argv, L"--done=");
    std::wstring sizesArg = Arg(argc, argv, L"--sizes=");
    if (!log.empty()) {
        _wfreopen(log.c_str(), L"w", stdout);
        setvbuf(stdout, nullptr, _IONBF, 0);
    }
    std::vector<int> sizes = {1, 10, 50};
    if (!sizesArg.empty()) {
        sizes.clear();
        for (wchar_t* p = sizesArg.data(); *p;) {
            sizes.push_back(static_cast<int>(wcstol(p, &p, 10)));
            if (*p == L',')
                ++p;
        }
    }
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    Program ours{quillet, L"QuilletText", 60};
    Program notepad{std::wstring(windows) + L"\\notepad.exe", L"Edit", 240};

    std::printf("%-8s %12s %12s %8s %16s %16s\n", "size", "Quillet s", "notepad s", "ratio", "Quillet B/char",
                "notepad B/char");
    int status = 0;
    for (int mb : sizes) {
        std::wstring name = L"bench-" + std::to_wstring(mb) + L"mb.txt";
        std::wstring path = std::wstring(temp) + name;
        std::string doc = MakeDocument(static_cast<size_t>(mb) * 1024 * 1024);
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(f, doc.data(), static_cast<DWORD>(doc.size()), &written, nullptr);
        CloseHandle(f);
        auto chars = static_cast<LRESULT>(doc.size());
        std::string().swap(doc);

        PROCESS_INFORMATION kept{};
        Result q = Measure(ours, path, name, chars, mb == sizes.back() ? &kept : nullptr);
        std::vector<double> keys;
        if (kept.hProcess) {
            MeasureKeystrokes(kept, chars, keys);
            TerminateProcess(kept.hProcess, 0);
            WaitForSingleObject(kept.hProcess, 10000);
            CloseHandle(kept.hProcess);
            CloseHandle(kept.hThread);
        }
        Result n = Measure(notepad, path, name, chars);
        std::printf("%-8s %12.3f %12.3f %8.3f %16.2f %16.2f\n", (std::to_string(mb) + " MB").c_str(),
                    q.seconds, n.seconds, (q.seconds > 0 && n.seconds > 0) ? q.seconds / n.seconds : -1.0,
                    q.bytesPerChar, n.bytesPerChar);
        if (!keys.empty()) {
            std::sort(keys.begin(), keys.end());
            std::printf("keystroke in the middle of %d MB: median %.2f ms, worst %.2f ms (%zu keys)\n", mb,
                        keys[keys.size() / 2], keys.back(), keys.size());
        }
        if (q.seconds < 0)
            status = 1;
        DeleteFileW(path.c_str());
    }
    std::printf("(-1: not ready within the timeout)\n");
    if (!done.empty()) {
        if (FILE* f = _wfopen(done.c_str(), L"w")) {
            std::fprintf(f, "%d\n", status);
            std::fclose(f);
        }
    }
    return status;
}
