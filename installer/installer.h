#pragma once
// The installer's state and steps: register the editor for .txt files, make its Start-menu
// shortcut and the new-document template, report, then show the window with the maker's page.

#include "installer/ports.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::installer {

inline constexpr std::u16string_view kTitle = u"Install";
inline constexpr std::u16string_view kWindowCaption = u"Мои программы";
inline constexpr std::u16string_view kDocumentKind = u"Текстовый документ";
inline constexpr std::u16string_view kEditorFileName = u"Quillet.exe";
inline constexpr std::u16string_view kTemplateFileName = u"Текстовый документ.txt";
// The same address as the editor's Help menu and About window open.
inline constexpr std::u16string_view kMakerSite = u"https://example.org/site/";
// Where the browser starts before the window's own navigation replaces it.
inline constexpr std::u16string_view kBrowserStartLocation = u"about:blank";
// The browser's flag for fetching the page anew rather than from its cache.
inline constexpr int32_t kNavigateNoReadFromCache = 4;

inline constexpr std::u16string_view kInstallationDone = u"Установка программы завершена.";

struct InstallerPorts {
    ClassesRegistry* registry = nullptr;
    Shell* shell = nullptr;
    InstallerFiles* files = nullptr;
    Environment* environment = nullptr;
    InstallerMessages* messages = nullptr;
    InstallerWindow* window = nullptr;
    WebView* webView = nullptr;
};

struct InstallerState {
    std::u16string installerFolder; // ends in pathSeparator
    std::u16string pathSeparator;   // "\" or "/", chosen once at start-up
    std::u16string editorPath;
};

struct Installer {
    InstallerState state;
    InstallerPorts ports;
};

// Writes the entries for the extension under the classes root: description, icon and open
// command; then the file type's key that the description names, with the same icon and command.
// Every entry is tried; true only when all were written.
bool RegisterFileType(Installer& app, std::u16string_view description, std::u16string_view openCommand,
                      std::u16string_view extension, std::u16string_view iconPath);

// The extension's ShellNew entry naming the new-document template, which the shell copies for
// New → text document. Written only once the template exists, so it never names nothing.
bool RegisterNewDocumentTemplate(Installer& app, std::u16string_view extension,
                                 std::u16string_view templatePath);

// Writes a shell link to target, with target's first icon, in the Start menu's Programs folder.
// True when the link was saved.
bool CreateShellShortcut(Installer& app, std::u16string_view name, std::u16string_view target,
                         std::u16string_view workingDirectory);

// The empty template for the shell's New → text document: windir\ShellNew\Текстовый документ.txt.
std::u16string NewDocumentTemplatePath(Installer& app);

// Creates or empties the template; a failure is reported in a message box. True on success.
bool WriteNewDocumentTemplate(Installer& app);

// The open command the shell runs for a document: the program path quoted, so that a path with
// spaces cannot start another program, and %1 as the shell gives it.
std::u16string OpenCommandFor(std::u16string_view editorPath);

// The installer's entry: the whole installation, the report, then the window is shown.
void InstallerStartUp(Installer& app);

// Raised once when the window is created.
void OnWindowCreated(Installer& app);

// Raised after every change of the window's size, the first showing included.
void OnWindowResized(Installer& app);

} // namespace quillet::installer
