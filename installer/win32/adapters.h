#pragma once
// The installer's ports on the Windows API.

#include "installer/ports.h"

namespace quillet::installer::win32 {

class RegistryWin32 : public ClassesRegistry {
public:
    bool SetString(std::u16string_view subkey, std::u16string_view valueName,
                   std::u16string_view data) override;
};

// Needs COM initialised on the calling thread.
class ShellWin32 : public Shell {
public:
    std::optional<std::u16string> ProgramsFolder() override;
    bool SaveLink(std::u16string_view linkPath, const ShellLinkProperties& link) override;
};

class FilesWin32 : public InstallerFiles {
public:
    int32_t CreateEmpty(std::u16string_view path) override;
};

class EnvironmentWin32 : public Environment {
public:
    std::optional<std::u16string> Variable(std::u16string_view name) override;
    std::u16string ProgramFolder() override;
};

class MessagesWin32 : public InstallerMessages {
public:
    void Show(std::u16string_view text, std::u16string_view title, InstallerIcon icon) override;
};

// The folder part of a program's full path, as the system reports folders: "C:\" for a drive
// root, otherwise without a trailing separator.
std::u16string FolderOfProgram(std::u16string_view programPath);

} // namespace quillet::installer::win32
