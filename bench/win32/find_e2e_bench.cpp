// Under Wine, in the running editor: Replace All from the click on its button to the count's
// message box (the edit, the view's update and the box), and a Find that misses over the whole
// document from Enter to "Текст не найден.". Run through tools/e2e-run (bench/wine_find.sh).

#include "editor/win32/resource.h"
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

HWND WaitDialog(const App& app, const std::wstring& caption, Millis timeout) {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND hwnd : TopWindows(app.Pid()))
                if (ClassOf(hwnd) == L"#32770" && TextOf(hwnd) == caption)
                    return (found = hwnd) != nullptr;
            return false;
        },
        timeout, 2ms);
    return found;
}

std::wstring MessageText(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_wcsicmp(ClassOf(child).c_str(), L"Static") == 0 && !TextOf(child).empty())
            return TextOf(child);
    return L"";
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A document of `megabytes` with `count` needles spread evenly through it.
int Case(FILE* out, size_t megabytes, size_t count) {
    TempDir folder;
    const std::wstring path = folder.Path(L"big.txt");
    const size_t lineLength = megabytes * 1000000 / count;
    std::string line(lineLength - 2, 'x');
    for (size_t i = 0; i + 1 < line.size(); i += 9)
        line[i] = ' ';
    line.replace(line.size() / 2, 6, "needle");
    line += "\r\n";
    std::string bytes;
    bytes.reserve(line.size() * count);
    for (size_t i = 0; i < count; ++i)
        bytes += line;
    if (!TempDir::Write(path, bytes))
        return std::fprintf(out, "cannot write %ls\n", path.c_str()), 1;
    std::string().swap(bytes);

    App app;
    if (!app.Open(path, 120s))
        return std::fprintf(out, "the editor did not open the document\n"), 1;
    app.Sync(60s);

    // Find: a miss over the whole document, case ignored.
    PressKey('F', {VK_CONTROL});
    HWND dialog = WaitDialog(app, L"Найти", 10s);
    if (!dialog)
        return std::fprintf(out, "no find dialog\n"), 1;
    TypeText(L"needlz");
    WaitFor([&] { return TextOf(GetDlgItem(dialog, IDC_FIND_FIELD)) == L"needlz"; }, 5s);
    auto start = std::chrono::steady_clock::now();
    PressKey(VK_RETURN);
    HWND box = WaitDialog(app, L"Квиллет", 60s);
    const double findSeconds = Since(start);
    if (!box)
        return std::fprintf(out, "no answer to Find\n"), 1;
    std::fprintf(out, "Find miss over %zu MB in the running editor (Enter to message): %.3f s%s\n", megabytes,
                 findSeconds, MessageText(box) == L"Текст не найден." ? "" : "  (unexpected message)");
    app.ClickButton(box, IDOK);
    WaitFor([&] { return !IsWindow(box); }, 5s);
    app.ClickButton(dialog, IDC_CANCEL_BUTTON);
    WaitFor([&] { return !IsWindow(dialog); }, 5s);

    // Replace All.
    app.Activate();
    PressKey('H', {VK_CONTROL});
    dialog = WaitDialog(app, L"Заменить", 10s);
    if (!dialog)
        return std::fprintf(out, "no replace dialog\n"), 1;
    TypeText(L"NEEDLE");
    PressKey(VK_TAB);
    TypeText(L"pin");
    WaitFor([&] { return TextOf(GetDlgItem(dialog, IDC_REPLACE_FIELD)) == L"pin"; }, 5s);
    start = std::chrono::steady_clock::now();
    app.ClickButton(dialog, IDC_REPLACE_ALL_BUTTON);
    box = WaitDialog(app, L"Квиллет", 120s);
    const double replaceSeconds = Since(start);
    if (!box)
        return std::fprintf(out, "no answer to Replace All\n"), 1;
    const bool counted = MessageText(box) == L"Количество замен: " + std::to_wstring(count);
    std::fprintf(out, "Replace All, %zu in %zu MB in the running editor (click to message): %.3f s%s\n",
                 count, megabytes, replaceSeconds, counted ? "" : "  (unexpected count)");
    app.ClickButton(box, IDOK);
    app.Kill();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring log, done;
    for (int i = 1; i < argc; ++i) {
        if (auto v = Value(argv[i], L"--quillet="); !v.empty())
            Env().quilletExe = v;
        else if (auto v2 = Value(argv[i], L"--log="); !v2.empty())
            log = v2;
        else if (auto v3 = Value(argv[i], L"--done="); !v3.empty())
            done = v3;
    }
    FILE* out = log.empty() ? stdout : _wfopen(log.c_str(), L"w");
    int code = Case(out ? out : stdout, 10, 100000);
    if (code == 0)
        code = Case(out ? out : stdout, 50, 1000000);
    if (out && out != stdout)
        std::fclose(out);
    if (!done.empty())
        if (FILE* f = _wfopen(done.c_str(), L"w")) {
            std::fprintf(f, "%d\n", code);
            std::fclose(f);
        }
    return code;
}
