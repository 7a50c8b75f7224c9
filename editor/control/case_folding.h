#pragma once
// Unicode simple case folding, for finding text with letter case ignored. Every fold keeps a
// character in its plane, so a folded UTF-16 string has the length of the original and a match
// in the folded text is a match of the same length in the document.

#include <cstddef>
#include <cstdint>

namespace quillet::casefold {

struct BmpFold {
    char16_t from;
    char16_t to;
};

struct SupplementaryFold {
    char32_t from;
    char32_t to;
};

// Generated from the Unicode data (tools/gen-case-folding), ascending by `from`.
extern const BmpFold kBmpFolds[];
extern const size_t kBmpFoldCount;
extern const SupplementaryFold kSupplementaryFolds[];
extern const size_t kSupplementaryFoldCount;

// Every BMP code unit folded, built on first use: one lookup per character while searching.
// Surrogates fold to themselves here; FoldCodePoint handles the characters they make up.
const char16_t* BmpTable();

char32_t FoldCodePoint(char32_t c);

} // namespace quillet::casefold
