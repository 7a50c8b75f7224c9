#pragma once
// What the installer needs from the platform: one small interface per service, so every step can
// run on fakes. The Win32 adapters live in installer/win32/.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::installer {

// String values under the classes root (the file associations of the whole machine).
class ClassesRegistry {
public:
    virtual ~ClassesRegistry() = default;
    // Creates or opens the key, sets one string value (an empty name is the key's default value)
    // and closes the key again. Other values under the key stay as they are. False when any of
    // the three fails.
    virtual bool SetString(std::u16string_view subkey, std::u16string_view valueName,
                           std::u16string_view data) = 0;
};

struct ShellLinkProperties {
    int16_t windowStyle = 1; // the show command the target is started with
    std::u16string targetPath;
    std::u16string iconPath;
    int32_t iconIndex = 0;
    std::u16string description;
    std::u16string workingDirectory;
};

// The shell's folders and link files of the current user.
class Shell {
public:
    virtual ~Shell() = default;
    // The Start menu's Programs folder; empty when it cannot be found.
    virtual std::optional<std::u16string> ProgramsFolder() = 0;
    // Writes the link file, replacing one of the same name. False when it could not be written.
    virtual bool SaveLink(std::u16string_view linkPath, const ShellLinkProperties& link) = 0;
};

// Files and folders, paths passed exactly as given.
class InstallerFiles {
public:
    virtual ~InstallerFiles() = default;
    // Creates the file empty, or empties the one that is there. Returns 0, 75 when the file or
    // its folder does not allow writing, another error number otherwise (76: no such folder).
    virtual int32_t CreateEmpty(std::u16string_view path) = 0;
};

// The process's surroundings.
class Environment {
public:
    virtual ~Environment() = default;
    // Empty when the variable is not set.
    virtual std::optional<std::u16string> Variable(std::u16string_view name) = 0;
    // The folder that holds the running program, as the system reports it: with a trailing
    // separator only for a drive root.
    virtual std::u16string ProgramFolder() = 0;
};

enum class InstallerIcon { Information, Warning, Error };

// Modal message boxes with the single button OK.
class InstallerMessages {
public:
    virtual ~InstallerMessages() = default;
    virtual void Show(std::u16string_view text, std::u16string_view title, InstallerIcon icon) = 0;
};

// The embedded web browser. Sizes are in the window's own units, the same that
// InstallerWindow::InnerSize reports.
class WebView {
public:
    virtual ~WebView() = default;
    virtual void Navigate(std::u16string_view address, int32_t flags) = 0;
    virtual void Move(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
};

struct ClientSize {
    int32_t width = 0;
    int32_t height = 0;
};

// The installer's one window and the message loop around it.
class InstallerWindow {
public:
    virtual ~InstallerWindow() = default;
    // Handles the window messages that are waiting, once, and returns.
    virtual void PumpMessages() = 0;
    // Shows the window, not modally.
    virtual void Show() = 0;
    virtual ClientSize InnerSize() = 0;
};

} // namespace quillet::installer
