#pragma once
// The shell port over ShellExecuteW.

#include "editor/platform/shell.h"

namespace quillet {

class ShellWin32 : public Shell {
public:
    void Open(std::u16string_view file, std::u16string_view workingFolder) override;
};

} // namespace quillet
