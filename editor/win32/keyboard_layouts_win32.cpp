#include "editor/win32/keyboard_layouts_win32.h"

#include <windows.h>

namespace quillet::win32 {

std::string KeyboardLayoutsWin32::ActiveLayoutName() {
    char name[KL_NAMELENGTH + 1] = {}; // nine NULs and one to spare
    if (!GetKeyboardLayoutNameA(name))
        return {};
    return std::string(name);
}

uint32_t KeyboardLayoutsWin32::ActivateNext() {
    HKL before = ActivateKeyboardLayout(reinterpret_cast<HKL>(HKL_NEXT), 0);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(before));
}

bool KeyboardLayoutsWin32::Activate(uint32_t handle) {
    return ActivateKeyboardLayout(reinterpret_cast<HKL>(static_cast<uintptr_t>(handle)), 0) != nullptr;
}

} // namespace quillet::win32
