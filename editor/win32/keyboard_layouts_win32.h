#pragma once
// The input layouts of the user-interface thread, through GetKeyboardLayoutNameA and
// ActivateKeyboardLayout(HKL_NEXT).

#include "editor/platform/keyboard_layouts.h"

namespace quillet::win32 {

class KeyboardLayoutsWin32 : public KeyboardLayouts {
public:
    std::string ActiveLayoutName() override;
    uint32_t ActivateNext() override;
    bool Activate(uint32_t handle) override;
};

} // namespace quillet::win32
