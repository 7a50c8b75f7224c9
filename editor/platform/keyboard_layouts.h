#pragma once
// The input layouts of the user-interface thread.

#include <cstdint>
#include <string>

namespace quillet {

class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    // The active layout's name: eight hexadecimal digits, such as "00000419".
    virtual std::string ActiveLayoutName() = 0;
    // Activates the next loaded layout; returns the handle of the one active before, 0 on failure.
    virtual uint32_t ActivateNext() = 0;
    // Activates the loaded layout with this handle; false on failure.
    virtual bool Activate(uint32_t handle) = 0;
};

} // namespace quillet
