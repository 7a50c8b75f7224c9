#include "editor/control/text_search.h"

#include "editor/control/case_folding.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillet {

namespace {

using Text = SearchPattern::Text;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The unit at i as case folding makes it; half of a supplementary character folds with its
// other half.
char16_t FoldedUnit(const Text& text, size_t i, const char16_t* table) {
    char16_t c = text.At(i);
    if (IsHighSurrogate(c) && i + 1 < text.Size() && IsLowSurrogate(text.At(i + 1))) {
        char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text.At(i + 1) - 0xDC00);
        return char16_t(0xD800 + ((casefold::FoldCodePoint(cp) - 0x10000) >> 10));
    }
    if (IsLowSurrogate(c) && i > 0 && IsHighSurrogate(text.At(i - 1))) {
        char32_t cp = 0x10000 + ((char32_t(text.At(i - 1)) - 0xD800) << 10) + (c - 0xDC00);
        return char16_t(0xDC00 + ((casefold::FoldCodePoint(cp) - 0x10000) & 0x3FF));
    }
    return table[c];
}

std::u16string FoldPattern(std::u16string_view pattern, const char16_t* table) {
    std::u16string out(pattern);
    for (size_t i = 0; i < out.size(); ++i) {
        char16_t c = pattern[i];
        bool pairStart = IsHighSurrogate(c) && i + 1 < out.size() && IsLowSurrogate(pattern[i + 1]);
        if (pairStart) {
            char32_t cp = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (pattern[i + 1] - 0xDC00);
            char32_t f = casefold::FoldCodePoint(cp) - 0x10000;
            out[i] = char16_t(0xD800 + (f >> 10));
            out[i + 1] = char16_t(0xDC00 + (f & 0x3FF));
            ++i;
        } else {
            out[i] = table[c];
        }
    }
    return out;
}

// Every code unit that folds to `folded` (a few at most: K, k and the Kelvin sign fold alike).
// A folded unit folds to itself, so it is one of them.
std::vector<char16_t> UnitsFoldingTo(char16_t folded) {
    std::vector<char16_t> units{folded};
    for (size_t i = 0; i < casefold::kBmpFoldCount; ++i)
        if (casefold::kBmpFolds[i].to == folded)
            units.push_back(casefold::kBmpFolds[i].from);
    return units;
}

// First index in [from, to) of s whose unit is one of units, or `to`. Eight units a round, so
// the compiler can compare them side by side; most rounds hold no candidate.
size_t ScanFor(const char16_t* s, size_t from, size_t to, const std::vector<char16_t>& units) {
    char16_t u0 = units[0];
    char16_t u1 = units.size() > 1 ? units[1] : u0;
    char16_t u2 = units.size() > 2 ? units[2] : u0;
    if (units.size() > 3) {
        for (size_t i = from; i < to; ++i)
            if (std::find(units.begin(), units.end(), s[i]) != units.end())
                return i;
        return to;
    }
    size_t i = from;
    for (; i + 8 <= to; i += 8) {
        bool any = false;
        for (size_t k = 0; k < 8; ++k) {
            char16_t c = s[i + k];
            any |= (c == u0) | (c == u1) | (c == u2);
        }
        if (any)
            break;
    }
    for (; i < to; ++i) {
        char16_t c = s[i];
        if (c == u0 || c == u1 || c == u2)
            return i;
    }
    return to;
}

// Patterns this long are searched by skipping: the unit under the end of the window says how far
// the window may jump, so most of the text is never looked at.
constexpr size_t kSkipSearchMin = 4;

bool HasSurrogates(std::u16string_view s) {
    return std::any_of(s.begin(), s.end(),
                       [](char16_t c) { return IsHighSurrogate(c) || IsLowSurrogate(c); });
}

// Boyer-Moore-Horspool over the two halves around the gap and the windows across it. folded is
// the pattern as compared (case-folded unless table is null); the jumps are keyed by a unit's low
// byte, which can only make them shorter. matchesAt(p) confirms a window.
// How far a window may jump, by the low byte of the unit under its end.
std::array<uint32_t, 256> Jumps(std::u16string_view folded) {
    std::array<uint32_t, 256> jump;
    jump.fill(uint32_t(folded.size()));
    for (size_t k = 0; k + 1 < folded.size(); ++k)
        jump[folded[k] & 0xFF] = uint32_t(folded.size() - 1 - k);
    return jump;
}

constexpr size_t kNoWindow = std::numeric_limits<size_t>::max();

// Scans the windows wholly before the gap, checks those across it one by one, then scans those
// wholly after it. scan(s, from, to) gives the first confirmed window start in [from, to), s
// indexed by text position, or kNoWindow; matchesAt(p) confirms one window.
template <class Scan, class Verify>
int32_t SearchAroundGap(std::span<const char16_t> before, std::span<const char16_t> after, size_t m,
                        size_t start, size_t lastStart, Scan&& scan, Verify&& matchesAt) {
    const size_t b = before.size();
    const size_t end = lastStart + 1;
    const size_t wholeBefore = b >= m ? b - m + 1 : 0; // windows starting here reach past the gap
    size_t hit = scan(before.data(), start, std::min(wholeBefore, end));
    if (hit != kNoWindow)
        return int32_t(hit);
    for (size_t p = std::max(start, wholeBefore); p < std::min(b, end); ++p)
        if (matchesAt(p))
            return int32_t(p);
    hit = scan(after.data() - b, std::max(start, b), end);
    return hit != kNoWindow ? int32_t(hit) : -1;
}

template <class Verify>
int32_t SkipSearch(std::span<const char16_t> before, std::span<const char16_t> after,
                   std::u16string_view folded, const std::array<uint32_t, 256>& jump, size_t start,
                   size_t lastStart, const char16_t* table, Verify&& matchesAt) {
    const size_t m = folded.size();
    const char16_t last = folded[m - 1];
    auto scan = [&](const char16_t* s, size_t from, size_t to) {
        size_t p = from;
        while (p < to) {
            char16_t c = s[p + m - 1];
            if (table)
                c = table[c];
            if (c == last && matchesAt(p))
                return p;
            p += jump[c & 0xFF];
        }
        return kNoWindow;
    };
    return SearchAroundGap(before, after, m, start, lastStart, scan, matchesAt);
}

// Four units in one 64-bit word: lanes of x that are zero get their top bit set (a lane above
// a zero one may be flagged too, which only costs a check).
constexpr uint64_t kLaneOnes = 0x0001000100010001ull;
constexpr uint64_t kLaneTops = 0x8000800080008000ull;
inline uint64_t ZeroLanes(uint64_t x) {
    return (x - kLaneOnes) & ~x & kLaneTops;
}
inline uint64_t FourUnits(const char16_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// First index i in [from, to) where s[i] is one of first and s[i + offset] one of last, or `to`:
// a short pattern's two ends together are far rarer than its first unit alone. Four positions a
// round in plain 64-bit words; each list holds at most three units.
size_t ScanForPair(const char16_t* s, size_t from, size_t to, size_t offset,
                   const std::vector<char16_t>& first, const std::vector<char16_t>& last) {
    const char16_t a0 = first[0], a1 = first.size() > 1 ? first[1] : a0,
                   a2 = first.size() > 2 ? first[2] : a0;
    const char16_t b0 = last[0], b1 = last.size() > 1 ? last[1] : b0, b2 = last.size() > 2 ? last[2] : b0;
    auto candidate = [&](size_t i) {
        const char16_t c = s[i];
        const char16_t d = s[i + offset];
        return ((c == a0) | (c == a1) | (c == a2)) & ((d == b0) | (d == b1) | (d == b2));
    };
    const uint64_t wa0 = a0 * kLaneOnes, wa1 = a1 * kLaneOnes, wa2 = a2 * kLaneOnes;
    const uint64_t wb0 = b0 * kLaneOnes, wb1 = b1 * kLaneOnes, wb2 = b2 * kLaneOnes;
    size_t i = from;
    for (; i + 4 <= to; i += 4) {
        const uint64_t x = FourUnits(s + i);
        const uint64_t y = FourUnits(s + i + offset);
        const uint64_t firsts = ZeroLanes(x ^ wa0) | ZeroLanes(x ^ wa1) | ZeroLanes(x ^ wa2);
        const uint64_t lasts = ZeroLanes(y ^ wb0) | ZeroLanes(y ^ wb1) | ZeroLanes(y ^ wb2);
        if (firsts & lasts)
            for (size_t k = 0; k < 4; ++k)
                if (candidate(i + k))
                    return i + k;
    }
    for (; i < to; ++i)
        if (candidate(i))
            return i;
    return to;
}

} // namespace

SearchPattern::SearchPattern(std::u16string_view text, bool matchCase_)
    : matchCase(matchCase_),
      folded(matchCase_ ? std::u16string(text) : FoldPattern(text, casefold::BmpTable())),
      startsInsidePair(false) {
    if (folded.empty())
        return;
    char16_t first = folded[0];
    startsInsidePair = !matchCase && (IsHighSurrogate(first) || IsLowSurrogate(first));
    firstUnits = matchCase ? std::vector<char16_t>{first} : UnitsFoldingTo(first);
    skipSearch = folded.size() >= kSkipSearchMin && (matchCase || !HasSurrogates(folded));
    if (skipSearch)
        jumps = Jumps(folded);
    if (!skipSearch && folded.size() >= 2 && (matchCase || !HasSurrogates(folded))) {
        lastUnits = matchCase ? std::vector<char16_t>{folded.back()} : UnitsFoldingTo(folded.back());
        pairSearch = firstUnits.size() <= 3 && lastUnits.size() <= 3;
    }
}

int32_t SearchPattern::FindIn(const Text& text, size_t start) const {
    size_t n = text.Size();
    size_t m = folded.size();
    if (m == 0 || m > n || start > n - m)
        return -1;
    size_t lastStart = n - m;
    const char16_t* table = casefold::BmpTable();

    auto matchesAt = [&](size_t p) {
        for (size_t k = 1; k < m; ++k) {
            char16_t c = matchCase ? text.At(p + k) : FoldedUnit(text, p + k, table);
            if (c != folded[k])
                return false;
        }
        // A folded low surrogate depends on the unit before it: check the first one too.
        return matchCase || FoldedUnit(text, p, table) == folded[0];
    };

    if (startsInsidePair) {
        // Rare: compare unit by unit.
        for (size_t p = start; p <= lastStart; ++p)
            if (matchesAt(p))
                return int32_t(p);
        return -1;
    }

    auto confirmed = [&](size_t p) { return (!matchCase || text.At(p) == folded[0]) && matchesAt(p); };
    if (skipSearch)
        return SkipSearch(text.Before(), text.After(), folded, jumps, start, lastStart,
                          matchCase ? nullptr : table, confirmed);
    if (pairSearch) {
        auto scan = [&](const char16_t* s, size_t from, size_t to) {
            while (from < to) {
                size_t hit = ScanForPair(s, from, to, m - 1, firstUnits, lastUnits);
                if (hit >= to)
                    break;
                if (matchesAt(hit))
                    return hit;
                from = hit + 1;
            }
            return kNoWindow;
        };
        return SearchAroundGap(text.Before(), text.After(), m, start, lastStart, scan, confirmed);
    }

    // The two halves around the gap, scanned in place; a match may run across the gap.
    auto before = text.Before();
    auto after = text.After();
    struct Half {
        const char16_t* data;
        size_t base; // the text position of data[0]
        size_t size;
    };
    for (Half half :
         {Half{before.data(), 0, before.size()}, Half{after.data(), before.size(), after.size()}}) {
        size_t from = std::max(start, half.base);
        size_t to = std::min(half.base + half.size, lastStart + 1);
        while (from < to) {
            size_t hit = ScanFor(half.data - half.base, from, to, firstUnits);
            if (hit >= to)
                break;
            if (matchesAt(hit))
                return int32_t(hit);
            from = hit + 1;
        }
    }
    return -1;
}

} // namespace quillet
