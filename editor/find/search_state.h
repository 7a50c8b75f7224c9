#pragma once
// What the search remembers during one run; never saved.

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

struct SearchState {
    std::u16string FindPattern;
    int32_t FindNextStart = 0;
    int16_t FindMatchCase = 0; // 16-bit boolean: -1 true, 0 false
    std::vector<std::u16string> FindHistory;
};

} // namespace quillet
