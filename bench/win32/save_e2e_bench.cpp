// Under Wine, in the running editor: Ctrl+S on a modified 50 MB document, timed from the key to
// the new file in place and the window ready again. Run through tools/e2e-run (bench/wine_save.sh).

#include "tests/e2e/driver.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace quillet::e2e;

namespace {

std::wstring Value(const wchar_t* arg, const wchar_t* prefix) {
    std::wstring a(arg), p(prefix);
    return a.rfind(p, 0) == 0 ? a.substr(p.size()) : std::wstring();
}

int FirstByte(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return -1;
    unsigned char byte = 0;
    DWORD got = 0;
    bool ok = ReadFile(f, &byte, 1, &got, nullptr) && got == 1;
    CloseHandle(f);
    return ok ? byte : -1;
}

int Run(FILE* out, size_t megabytes) {
    TempDir folder;
    std::wstring path = folder.Path(L"big.txt");
    std::string line =
        Cp1251(L"Съешь же ещё этих мягких французских булок, да выпей чаю. The quick fox.\r\n");
    std::string bytes;
    bytes.reserve(megabytes * 1000000 + line.size());
    while (bytes.size() < megabytes * 1000000)
        bytes += line;
    if (!TempDir::Write(path, bytes))
        return std::fprintf(out, "cannot write %ls\n", path.c_str()), 1;
    std::string().swap(bytes);

    App app;
    if (!app.Open(path, 120s))
        return std::fprintf(out, "the editor did not open the document\n"), 1;
    PressKey(VK_HOME, {VK_CONTROL});
    const wchar_t* marks[] = {L"Ж", L"Ё", L"Щ"};
    int code = 0;
    for (const wchar_t* mark : marks) {
        TypeText(mark);
        app.Sync(60s);
        int expected = static_cast<unsigned char>(Cp1251(mark)[0]);
        auto start = std::chrono::steady_clock::now();
        PressKey('S', {VK_CONTROL});
        bool saved = WaitFor([&] { return FirstByte(path) == expected; }, 60s, 5ms) && app.Sync(60s);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!saved || app.WaitMessageBox(0ms).hwnd) {
            std::fprintf(out, "save %zu MB: did not complete\n", megabytes);
            code = 1;
            break;
        }
        std::fprintf(out, "save %zu MB in the running editor (Ctrl+S to window ready): %.3f s\n", megabytes,
                     seconds);
        PressKey(VK_HOME, {VK_CONTROL});
    }
    app.Kill();
    return code;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring log, done;
    size_t megabytes = 50;
    for (int i = 1; i < argc; ++i) {
        if (auto v = Value(argv[i], L"--quillet="); !v.empty())
            Env().quilletExe = v;
        else if (auto v2 = Value(argv[i], L"--log="); !v2.empty())
            log = v2;
        else if (auto v3 = Value(argv[i], L"--done="); !v3.empty())
            done = v3;
        else if (auto v4 = Value(argv[i], L"--megabytes="); !v4.empty())
            megabytes = std::stoul(v4);
    }
    FILE* out = log.empty() ? stdout : _wfopen(log.c_str(), L"w");
    int code = Run(out ? out : stdout, megabytes);
    if (out && out != stdout)
        std::fclose(out);
    if (!done.empty())
        if (FILE* f = _wfopen(done.c_str(), L"w")) {
            std::fprintf(f, "%d\n", code);
            std::fclose(f);
        }
    return code;
}
