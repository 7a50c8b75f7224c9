// Quillet's entry point: builds the main window and its adapters, runs the start-up routine and
// then the window's message loop until the window has been unloaded.

#include "editor/app/main_window_events.h"
#include "editor/app/startup.h"
#include "editor/base/path.h"
#include "editor/document/edit_guard.h"
#include "editor/document/editor.h"
#include "editor/win32/about_window_win32.h"
#include "editor/win32/ansi_codec_win32.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/file_dialogs_win32.h"
#include "editor/win32/file_system_win32.h"
#include "editor/win32/find_dialog.h"
#include "editor/win32/font_dialog_win32.h"
#include "editor/win32/keyboard_layouts_win32.h"
#include "editor/win32/last_resort.h"
#include "editor/win32/main_window.h"
#include "editor/win32/message_boxes_win32.h"
#include "editor/win32/settings_registry.h"
#include "editor/win32/shell_win32.h"
#include "editor/win32/text_view.h"
#include "editor/win32/wide.h"

#include <windows.h>

#include <string>

using namespace quillet;
using namespace quillet::win32;

namespace {

// The folder of the running program, without a trailing separator unless it is a drive's root.
std::u16string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FromWide(FolderWithoutSeparator(std::wstring_view(path), std::wstring_view(L"\\/")));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    FileSystemWin32 files;
    AnsiCodecWin32 codec;
    ClipboardWin32 clipboard;
    TextView view(clipboard);
    MainFrame frame(view);
    if (!frame.Create(instance))
        return 1;
    clipboard.SetOwner(frame.Handle());

    MessageBoxesWin32 messages;
    messages.SetOwner(frame.Handle());
    RegistrySettings settings;
    KeyboardLayoutsWin32 layouts;
    ShellWin32 shell;
    FileDialogsWin32 fileDialogs(instance);
    fileDialogs.SetOwner(frame.Handle());
    FontDialogWin32 fontDialog(frame.Handle());
    AboutBoxWin32 about(instance);
    about.SetOwner(frame.Handle());
    FindDialogWin32 findDialog(instance);
    findDialog.SetOwner(frame.Handle());

    Editor editor({view, frame, messages, settings, files, codec, layouts, clipboard, fileDialogs, shell,
                   about, findDialog, fontDialog});
    about.Attach(editor);
    findDialog.Attach(editor);
    SetFailureReporter(
        [](void* context, Failure failure) {
            Editor& reporting = *static_cast<Editor*>(context);
            if (failure == Failure::OutOfMemory)
                ReportEditRefused(reporting);
            else
                ReportCommandFailed(reporting);
        },
        &editor);
    TextEvents events(editor);
    view.SetEvents(&events);
    frame.Attach(editor);

    RunStartup(editor, ProgramFolder(), FromWide(commandLine ? commandLine : L""));
    view.SetFocus();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        CatchAll(
            [&] {
                if (!frame.TranslateShortcut(msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
                return 0;
            },
            0);
    }
    view.SetEvents(nullptr);
    return static_cast<int>(msg.wParam);
}
