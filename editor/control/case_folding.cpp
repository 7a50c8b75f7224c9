#include "editor/control/case_folding.h"

#include <algorithm>
#include <memory>

namespace quillet::casefold {

const char16_t* BmpTable() {
    static const std::unique_ptr<char16_t[]> table = [] {
        auto t = std::make_unique<char16_t[]>(0x10000);
        for (uint32_t c = 0; c < 0x10000; ++c)
            t[c] = char16_t(c);
        for (size_t i = 0; i < kBmpFoldCount; ++i)
            t[kBmpFolds[i].from] = kBmpFolds[i].to;
        return t;
    }();
    return table.get();
}

char32_t FoldCodePoint(char32_t c) {
    if (c < 0x10000)
        return BmpTable()[c];
    const SupplementaryFold* end = kSupplementaryFolds + kSupplementaryFoldCount;
    auto it = std::lower_bound(kSupplementaryFolds, end, c,
                               [](const SupplementaryFold& f, char32_t v) { return f.from < v; });
    return it != end && it->from == c ? it->to : c;
}

} // namespace quillet::casefold
