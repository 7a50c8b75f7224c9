#pragma once
// Drives a real program under Wine as a person does: starts it with a fresh settings state,
// finds its windows, types and presses keys, reads captions and the text control's text,
// answers message boxes and common file dialogs, takes screenshots, and ends it. Every wait
// has a timeout; nothing here can hang a test run.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quillet::e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

// Paths the runner passes in (see tools/e2e-run): the programs under test and where
// screenshots go.
struct Environment {
    std::wstring quilletExe;
    std::wstring installExe;
    std::wstring shotsFolder;
};
Environment& Env();

// Polls until ready() is true or the timeout passes; false on timeout.
bool WaitFor(const std::function<bool()>& ready, Millis timeout = 10s, Millis step = 20ms);
// Until the window is destroyed or hidden.
bool WaitGone(HWND hwnd, Millis timeout = 10s);

// Window helpers that work on any process's windows.
std::wstring ClassOf(HWND hwnd);
std::wstring TextOf(HWND hwnd); // WM_GETTEXT with a timeout; empty on failure
bool SetTextOf(HWND hwnd, const std::wstring& text);
// Top-level windows of a process, visible ones only.
std::vector<HWND> TopWindows(DWORD pid);
HWND FindDescendant(HWND parent, const std::wstring& className, int id = -1);

// Keyboard input through SendInput, into whichever window is in the foreground.
void TypeText(const std::wstring& text); // KEYEVENTF_UNICODE, Cyrillic included
// A virtual key with modifiers held, e.g. PressKey('S', {VK_CONTROL}).
void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});

// A screenshot of the whole (virtual) desktop as a 24-bit .bmp.
bool Screenshot(const std::wstring& path);

// A message box (class #32770) and its parts.
struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::wstring title;
    std::wstring text;
};

// A folder under %TEMP% for one test, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const { return path_; } // ends in a backslash
    std::wstring File(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// Whole-file helpers for checking what the program wrote.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool ReadBytes(const std::wstring& path, std::string& bytes);
std::string Cp1251(const std::wstring& text);

// One running instance of a program.
class App {
public:
    App() = default;
    ~App(); // ends the process if it still runs
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Starts exe with the command-line text after the program name, after deleting the given
    // per-user settings keys under HKEY_CURRENT_USER (a fresh state). False if it cannot start.
    bool Launch(const std::wstring& exe, const std::wstring& arguments,
                const std::vector<std::wstring>& freshSettingsKeys = DefaultSettingsKeys());
    static std::vector<std::wstring> DefaultSettingsKeys();
    // Starts Quillet on a file, its path quoted, fresh settings; waits for the caption that names
    // the file and brings the window to the front. False if any step fails.
    bool Open(const std::wstring& path, Millis timeout = 10s);

    DWORD Pid() const { return process_.dwProcessId; }
    bool Running() const;
    // Waits for the program to end; its exit code, or -1 on timeout.
    int WaitExit(Millis timeout = 10s);
    void Kill();

    // The first visible top-level window of the process of that class; null on timeout.
    HWND WaitWindow(const std::wstring& className, Millis timeout = 10s) const;
    // The first visible top-level window of the process that matches; null on timeout or exit.
    HWND WaitWindow(const std::function<bool(HWND)>& matches, Millis timeout = 10s) const;
    // The Quillet main window (class QuilletMain) and its text control (class QuilletText).
    HWND WaitMainWindow(Millis timeout = 10s);
    HWND MainWindow() const { return main_; }
    HWND TextControl() const;

    std::wstring Caption() const { return TextOf(main_); }
    bool WaitCaption(const std::wstring& caption, Millis timeout = 10s) const;
    std::wstring Text() const; // the text control's whole text
    bool WaitText(const std::wstring& text, Millis timeout = 5s) const;
    int TextLength() const;
    // Start and end of the selection (EM_GETSEL; both below 65536).
    std::pair<int, int> Selection() const;

    // Brings the main window to the foreground so SendInput reaches it.
    bool Activate(HWND hwnd = nullptr);
    // Waits until the program has handled everything sent to it so far.
    bool Sync(Millis timeout = 5s) const;

    // A message box of this process; its title and text. Empty hwnd on timeout.
    MessageBoxInfo WaitMessageBox(Millis timeout = 10s) const;
    // Presses a dialog button by id (IDOK, IDYES, IDNO, IDCANCEL...).
    bool ClickButton(HWND dialog, int id) const;
    // The common Open/Save dialog: types the file name into its field and accepts.
    bool AcceptFileDialog(HWND dialog, const std::wstring& fileName) const;
    // Sends WM_CLOSE to the main window (as the close box does).
    void Close() const;

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
};

} // namespace quillet::e2e
