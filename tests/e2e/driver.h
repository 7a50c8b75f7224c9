#pragma once
// Drives a real program under Wine as a person does: starts it with fresh settings, types and
// presses keys, reads captions and the text control, answers message boxes and file dialogs.
// Every wait has a timeout; nothing here can hang a run.

#include "tests/win32/win32_test_support.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quillet::e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

struct Environment {
    std::wstring quilletExe, installExe; // the programs under test, from tools/e2e-run
};
Environment& Env();

// Polls until ready() is true; false on timeout.
bool WaitFor(const std::function<bool()>& ready, Millis timeout = 10s, Millis step = 20ms);

std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd);          // WM_GETTEXT with a timeout; empty on failure
std::vector<HWND> TopWindows(DWORD pid); // the visible ones

// Keyboard input into the foreground window: "\r" types Enter, anything else as Unicode.
void TypeText(const std::wstring& text);
void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});

using testing_win32::TempDir; // a folder for one test, with its file reading and writing

std::string Cp1251(const std::wstring& text);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring text;
};

// One running instance of a program, ended at the end if it still runs.
class App {
public:
    App() = default;
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts exe with these arguments after clearing the editor's settings (a first run).
    bool Launch(const std::wstring& exe, const std::wstring& arguments);
    void Adopt(HANDLE process) { process_ = process; } // one the shell started
    // Starts the Quillet under test on a file, its path quoted, and waits until it is ready with
    // the file's name in its caption.
    bool Open(const std::wstring& file, Millis timeout = 10s);
    // Waits for Quillet's main window with this caption and brings it to the front.
    bool WaitReady(const std::wstring& caption, Millis timeout = 10s);

    DWORD Pid() const { return GetProcessId(process_); }
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    int WaitExit(Millis timeout = 10s); // the exit code, -1 on timeout
    void Kill();

    // A visible top-level window of the process that matches; null on timeout or exit.
    HWND WaitWindow(const std::function<bool(HWND)>& matches, Millis timeout = 10s) const;
    // A dialog of the process with this caption, once the keyboard focus is in it.
    HWND WaitDialog(const std::wstring& caption, Millis timeout = 10s) const;
    HWND MainWindow() const { return main_; }
    HWND TextControl() const { return FindWindowExW(main_, nullptr, L"QuilletText", nullptr); }

    std::wstring Caption() const { return TextOf(main_); }
    std::wstring Text() const { return TextOf(TextControl()); }
    bool WaitText(const std::wstring& text, Millis timeout = 10s) const;
    int TextLength() const;
    bool WaitSelection(int start, int end) const;

    bool Activate();                                                 // the main window
    void Press(WORD vk, std::initializer_list<WORD> modifiers = {}); // to the main window
    bool Sync(Millis timeout = 5s) const; // until it has handled what was sent to it so far
    // Ctrl+S, then the file's bytes once the program has replaced it. Until then the file is only
    // looked at, never opened: under Wine a file held open cannot be replaced.
    std::string Save(const std::wstring& path, Millis timeout = 10s);

    MessageBoxInfo WaitMessageBox(Millis timeout = 10s) const;
    // Answers the next message box with this button; its text, or a note of what went wrong.
    std::wstring Answer(int button, Millis timeout = 10s) const;
    // Accepts the next Open or Save dialog with this file name, or cancels it when it is empty.
    bool AnswerFileDialog(const std::wstring& fileName) const;
    bool ClickButton(HWND dialog, int id) const; // posted: a modal loop may follow

private:
    HANDLE process_ = nullptr;
    HWND main_ = nullptr;
};

} // namespace quillet::e2e
