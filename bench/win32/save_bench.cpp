// Saving a large document under Wine: the code-page check and the write of the document model's
// pieces through the ANSI codec and the safe replace, timed and with the memory they add.
// save_bench.exe [megabytes=50] [folder=%TEMP%]

#include "bench/win32/process_memory.h"
#include "editor/control/text_model.h"
#include "editor/files/document_file.h"
#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/file_system_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>

using namespace quillet;
using Clock = std::chrono::steady_clock;

namespace {

// The most private memory seen while work runs, sampled every millisecond from another thread.
template <typename Work> size_t PeakDuring(Work work) {
    std::atomic<bool> done{false};
    std::atomic<size_t> peak{PrivateBytes()};
    std::thread sampler([&] {
        while (!done) {
            size_t now = PrivateBytes();
            if (now > peak)
                peak = now;
            Sleep(1);
        }
    });
    work();
    done = true;
    sampler.join();
    return peak;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Russian and English prose in lines of about 70 characters, as a large text file would be.
std::u16string Document(size_t megabytes) {
    const std::u16string line =
        u"Съешь же ещё этих мягких французских булок, да выпей чаю. The quick fox.\r\n";
    std::u16string text;
    text.reserve(megabytes * 1000000 + line.size());
    while (text.size() < megabytes * 1000000)
        text += line;
    return text;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    size_t megabytes = argc > 1 ? size_t(std::wcstoul(argv[1], nullptr, 10)) : 50;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = argc > 2 ? std::wstring(argv[2]) : std::wstring(temp);
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    std::wstring path = folder + L"quillet-save-bench.txt";

    win32::FileSystemWin32 files;
    win32::AnsiCodecWin32 codec;
    TextModel model;
    model.SetText(Document(megabytes));
    std::u16string path16(path.begin(), path.end());
    size_t chars = size_t(model.TextLength());

    for (int run = 0; run < 3; ++run) {
        size_t before = PrivateBytes();
        bool exact = false;
        WriteStatus error = WriteStatus::Failed;
        double check = 0, write = 0;
        size_t checkPeak = PeakDuring([&] {
            Clock::time_point start = Clock::now();
            exact = FitsCodePage(model, codec);
            check = Seconds(start);
        });
        size_t writePeak = PeakDuring([&] {
            Clock::time_point start = Clock::now();
            error = WriteText(model, codec, files, path16);
            write = Seconds(start);
        });
        size_t peak = std::max(checkPeak, writePeak);
        std::printf("  extra during the check %.1f MB, during the write %.1f MB\n",
                    (checkPeak - before) / 1e6, (writePeak - before) / 1e6);
        std::printf("save %zu MB (%zu characters): check %.3f s (exact %d), write %.3f s, total %.3f s, "
                    "error %d; private memory %.1f MB, extra while saving %.1f MB\n",
                    megabytes, chars, check, int(exact), write, check + write, int(error), before / 1e6,
                    (peak - before) / 1e6);
        std::fflush(stdout);
        model.SetSelection(0, 0);
        model.ReplaceSelection(u"x", EditKind::Program);
    }
    DeleteFileW(path.c_str());
    return 0;
}
