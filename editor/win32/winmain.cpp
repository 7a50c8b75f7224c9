// Quillet's entry point: the main window on the text control, opening the file named on the
// command line.

#include "editor/core/document_state.h"
#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/file_system_win32.h"
#include "editor/win32/main_window.h"
#include "editor/win32/text_view.h"

#include <windows.h>

#include <string>

using namespace quillet;
using namespace quillet::win32;

namespace {

// The command line is one path; one leading and one trailing double quote are removed.
std::u16string PathFromCommandLine(const wchar_t* commandLine) {
    std::u16string path = FromWide(commandLine ? commandLine : L"");
    if (!path.empty() && path.front() == u'"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == u'"')
        path.pop_back();
    return path;
}

std::u16string FileNamePart(const std::u16string& path) {
    size_t slash = path.find_last_of(u"\\/");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

void LoadFile(const std::u16string& path, FileSystemWin32& files, AnsiCodecWin32& codec, TextView& view,
              MainFrame& frame) {
    ReadResult read = files.ReadWhole(path);
    if (read.status != ReadStatus::Ok) {
        std::u16string message =
            u"Файл \"" + path + u"\"" +
            (read.status == ReadStatus::NotFound ? u" не найден." : u" не удаётся открыть.");
        MessageBoxW(frame.Handle(), Wide(message), Wide(std::u16string(kAppTitle)), MB_OK | MB_ICONERROR);
        return;
    }
    std::u16string text = codec.Decode(read.bytes);
    std::string().swap(read.bytes); // the bytes are no longer needed; don't hold both copies
    view.SetText(std::move(text));
    frame.SetCaption(u" " + FileNamePart(path) + u" - " + kAppTitle);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    FileSystemWin32 files;
    AnsiCodecWin32 codec;
    TextView view(files, codec);
    MainFrame frame(view);
    if (!frame.Create(instance))
        return 1;
    std::u16string path = PathFromCommandLine(commandLine);
    if (!path.empty())
        LoadFile(path, files, codec, view, frame);
    ShowWindow(frame.Handle(), show);
    UpdateWindow(frame.Handle());
    view.SetFocus();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
