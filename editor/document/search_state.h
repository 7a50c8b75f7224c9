#pragma once
// What the search remembers during one run; never saved.

#include <cstdint>
#include <string>
#include <vector>

namespace quillet {

struct SearchState {
    std::u16string pattern; // the last text searched for with the dialog's Find; F3 repeats it
    int32_t nextStart = 0;  // where the next F3 begins
    bool matchCase = false;
    // Every distinct text submitted for finding or replacing, oldest first, no duplicates.
    std::vector<std::u16string> history;
};

} // namespace quillet
