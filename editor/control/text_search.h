#pragma once
// Finding text in the model's storage: the pattern is folded once, and the two halves around the
// gap are searched where they lie, so a search never copies the text.

#include "editor/control/gap_buffer.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

class SearchPattern {
public:
    using Text = GapBuffer<std::u16string>;

    SearchPattern(std::u16string_view text, bool matchCase);

    // The first match at or after start, without selecting it; -1 if none.
    int32_t FindIn(const Text& text, size_t start) const;

private:
    bool matchCase;
    std::u16string folded;
    std::vector<char16_t> firstUnits; // what the text may hold where a match starts
    bool startsInsidePair;            // starts with half of a supplementary character
    bool skipSearch = false;          // long enough to search by jumping (SkipSearch)
    bool pairSearch = false;          // short: search by its first and last units (ScanForPair)
    std::vector<char16_t> lastUnits;
    std::array<uint32_t, 256> jumps{};
};

} // namespace quillet
