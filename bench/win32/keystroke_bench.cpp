// Typing latency inside the editor's own process under Wine: the real text view in a window,
// a Windows-1251 document decoded as a file is loaded, then each keystroke is posted as a key
// press (WM_KEYDOWN, WM_KEYUP), the queue is dispatched as the editor's loop does (TranslateMessage
// makes the WM_CHAR) and the window repainted.
// Each figure runs from posting the key to the end of the repaint; the part until the key is
// handled (before the paint) is shown beside it. The first keystroke is reported on its own.
// keystroke_bench.exe [megabytes=50] [keys=200] [wrap=0]

#include "bench/win32/process_memory.h"
#include "editor/control/text_model.h"
#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

using namespace quillet;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kViewId = 100;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Russian and English prose in lines of about 70 characters, as the other benchmarks use; or all
// of it one line, as a dump or a log without line breaks is.
std::string Cp1251Document(const win32::AnsiCodecWin32& codec, size_t megabytes, bool oneLine) {
    const std::u16string line =
        oneLine ? u"Съешь же ещё этих мягких французских булок, да выпей чаю. The quick fox. "
                : u"Съешь же ещё этих мягких французских булок, да выпей чаю. The quick fox.\r\n";
    std::u16string text;
    text.reserve(megabytes * 1000000 + line.size());
    while (text.size() < megabytes * 1000000)
        text += line;
    std::string bytes;
    codec.Encode(text, bytes);
    return bytes;
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SIZE) {
        if (HWND view = GetDlgItem(hwnd, kViewId))
            MoveWindow(view, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Dispatches what is queued except WM_PAINT, which UpdateWindow then delivers on its own, so the
// key's handling and the repaint can be timed apart.
void Pump() {
    MSG msg;
    while (
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

struct Stats {
    double median, p95, p99, max;
};

Stats Summarise(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    auto at = [&](double q) { return v[std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5))]; };
    return {at(0.5), at(0.95), at(0.99), v.back()};
}

struct Timing {
    double handled, painted; // ms from the key to its handling done, and to the window repainted
};

// One key as the message loop delivers it, Ctrl held when asked, timed to the repaint.
Timing Press(HWND frame, HWND view, WPARAM key, bool ctrl) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    const LPARAM scan = LPARAM(MapVirtualKeyW(UINT(key), MAPVK_VK_TO_VSC)) << 16;
    Clock::time_point start = Clock::now();
    PostMessageW(view, WM_KEYDOWN, key, scan | 1);
    PostMessageW(view, WM_KEYUP, key, scan | 0xC0000001);
    Pump();
    Clock::time_point mid = Clock::now();
    UpdateWindow(frame);
    GdiFlush();
    Clock::time_point end = Clock::now();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    return {Ms(mid - start), Ms(end - start)};
}

// The keys a user tries first in a document that is one long line, each timed, then typing at
// its end.
int LongLine(HWND frame, win32::TextView& view, int keys) {
    HWND hwnd = view.Handle();
    const int32_t chars = view.TextLength();
    const struct {
        const char* name;
        WPARAM key;
        bool ctrl;
    } steps[] = {{"Ctrl+End", VK_END, true}, {"End", VK_END, false}, {"a typed character", 'X', false},
                 {"Right", VK_RIGHT, false}, {"Ctrl+A", 'A', true},  {"Right", VK_RIGHT, false}};
    std::vector<double> all;
    for (const auto& step : steps) {
        Timing t = Press(frame, hwnd, step.key, step.ctrl);
        all.push_back(t.painted);
        std::printf("  %-18s %.2f ms to repainted (%.2f ms handled)\n", step.name, t.painted, t.handled);
    }
    std::vector<double> typing;
    for (int k = 0; k < keys; ++k)
        typing.push_back(Press(frame, hwnd, 'A' + WPARAM(k % 26), false).painted);
    all.insert(all.end(), typing.begin(), typing.end());
    Stats t = Summarise(typing);
    Stats a = Summarise(all);
    std::printf("  %d keys typed at the end: median %.2f ms, p95 %.2f ms, max %.2f ms\n", keys, t.median,
                t.p95, t.max);
    std::printf("  every key: median %.2f ms, max %.2f ms\n", a.median, a.max);
    const bool typedIn = view.TextLength() == chars + 1 + keys && view.Model().Caret() == view.TextLength();
    if (!typedIn)
        std::printf("  the keys did not type as expected: %d characters, caret at %d\n",
                    int(view.TextLength()), int(view.Model().Caret()));
    return typedIn ? 0 : 2;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    size_t megabytes = argc > 1 ? size_t(std::wcstoul(argv[1], nullptr, 10)) : 50;
    int keys = argc > 2 ? int(std::wcstol(argv[2], nullptr, 10)) : 200;
    bool wrap = argc > 3 && std::wcstol(argv[3], nullptr, 10) != 0;
    bool oneLine = argc > 4 && std::wcstol(argv[4], nullptr, 10) != 0;
    keys = std::max(keys, 2);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"QuilletKeystrokeBench";
    RegisterClassExW(&wc);
    HWND frame = CreateWindowExW(0, wc.lpszClassName, L"keystroke bench", WS_OVERLAPPEDWINDOW, 0, 0, 1000,
                                 720, nullptr, nullptr, instance, nullptr);

    win32::AnsiCodecWin32 codec;
    win32::ClipboardWin32 clipboard;
    win32::TextView view(clipboard);
    if (!frame || !view.Create(frame, kViewId, instance)) {
        std::printf("could not create the window\n");
        return 1;
    }
    ShowWindow(frame, SW_SHOWNORMAL);
    RECT rc{};
    GetClientRect(frame, &rc);
    MoveWindow(view.Handle(), 0, 0, rc.right, rc.bottom, TRUE);
    view.SetFocus();
    Pump();
    UpdateWindow(frame);

    // Loaded as a file is: cp1251 bytes decoded, the text handed over.
    size_t before = PrivateBytes();
    {
        std::string bytes = Cp1251Document(codec, megabytes, oneLine);
        std::u16string text;
        text.reserve(bytes.size() + SpareRoomFor(bytes.size()));
        codec.Decode(bytes, text);
        bytes.clear();
        bytes.shrink_to_fit();
        Clock::time_point start = Clock::now();
        view.SetText(std::move(text));
        std::printf("SetText %.1f ms\n", Ms(Clock::now() - start));
    }
    if (wrap) {
        view.SetWordWrap(true);
        view.CompleteLayout();
    }
    const int32_t chars = view.TextLength();
    size_t after = PrivateBytes();
    if (oneLine) {
        Pump();
        UpdateWindow(frame);
        std::printf("one line of %zu MB (%d characters, %s), after opening:\n", megabytes, int(chars),
                    wrap ? "word wrap" : "no wrap");
        int status = LongLine(frame, view, keys);
        std::fflush(stdout);
        DestroyWindow(frame);
        return status;
    }
    // In the middle of a line in the middle of the document, where the gap is not.
    const int32_t line = view.Model().LineFromPosition(chars / 2);
    const int32_t caret = view.Model().LineStart(line) + 10;
    view.Model().SetSelection(caret, caret);
    Pump();
    UpdateWindow(frame);

    std::vector<double> handled, painted;
    for (int k = 0; k < keys; ++k) {
        Timing t = Press(frame, view.Handle(), 'A' + WPARAM(k % 26), false);
        handled.push_back(t.handled);
        painted.push_back(t.painted);
    }
    bool typedIn = view.TextLength() == chars + keys && view.Model().Caret() == caret + keys;
    if (!typedIn)
        std::printf("typed %d of %d characters, caret moved by %d\n", int(view.TextLength() - chars), keys,
                    int(view.Model().Caret() - caret));

    std::printf("keystroke in %zu MB (%d characters, %s, %d keys, text %s): private memory %.2f bytes per "
                "character\n",
                megabytes, int(chars), wrap ? "word wrap" : "no wrap", keys, typedIn ? "typed" : "NOT TYPED",
                double(after - before) / chars);
    std::printf("  first key: %.2f ms to repainted (%.2f ms handled)\n", painted[0], handled[0]);
    std::vector<double> restPainted(painted.begin() + 1, painted.end());
    std::vector<double> restHandled(handled.begin() + 1, handled.end());
    Stats p = Summarise(restPainted);
    Stats h = Summarise(restHandled);
    std::printf("  later keys to repainted: median %.2f ms, p95 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                p.median, p.p95, p.p99, p.max);
    std::printf("  later keys handled:      median %.2f ms, p95 %.2f ms, max %.2f ms\n", h.median, h.p95,
                h.max);
    std::fflush(stdout);
    DestroyWindow(frame);
    return typedIn ? 0 : 2;
}
