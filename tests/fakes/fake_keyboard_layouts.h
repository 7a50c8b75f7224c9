#pragma once
// A ring of loaded layouts, as the system keeps them per thread.

#include "editor/platform/keyboard_layouts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::fakes {

struct FakeLayout {
    std::string name; // "00000419"
    uint32_t handle;  // 0x04190419
};

inline const FakeLayout kEnglishUs{"00000409", 0x04090409u};
inline const FakeLayout kRussian{"00000419", 0x04190419u};
inline const FakeLayout kUkrainian{"00000422", 0x04220422u};

class FakeKeyboardLayouts : public KeyboardLayouts {
public:
    FakeKeyboardLayouts() = default;
    FakeKeyboardLayouts(std::vector<FakeLayout> ring, size_t activeIndex)
        : layouts(std::move(ring)), active(activeIndex) {}

    std::string ActiveLayoutName() override { return layouts.empty() ? std::string() : layouts[active].name; }
    uint32_t ActivateNext() override {
        ++switches;
        if (failActivate || layouts.empty())
            return 0;
        uint32_t before = layouts[active].handle;
        active = (active + 1) % layouts.size();
        return before;
    }

    bool Activate(uint32_t handle) override {
        ++switches;
        for (size_t i = 0; i < layouts.size(); ++i)
            if (layouts[i].handle == handle && !failActivate) {
                active = i;
                return true;
            }
        return false;
    }

    std::vector<FakeLayout> layouts;
    size_t active = 0;
    bool failActivate = false;
    int switches = 0;
};

} // namespace quillet::fakes
