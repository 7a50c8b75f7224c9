#pragma once
// Plain, slow references the document model must agree with, for its tests and its fuzz target:
// line breaks made CR LF, the lines of a text, and a search that compares at every position.

#include "editor/control/case_folding.h"
#include "editor/control/text_model.h"

#include <string>
#include <string_view>

namespace quillet::testing {

// Every CR, LF or CR LF becomes one CR LF.
inline std::u16string Normalized(std::u16string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            out += u"\r\n";
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Whether the model's line index agrees with the lines read off the text (CR LF breaks only):
// every line's start and end, and the line of every position.
inline bool LinesAgree(const TextModel& model, std::u16string_view text) {
    int32_t line = 0, start = 0;
    for (int32_t p = 0; p <= int32_t(text.size()); ++p) {
        if (p > 1 && text[p - 1] == u'\n') {
            if (model.LineEnd(line) != p - 2)
                return false;
            ++line;
            start = p;
        }
        if (model.LineFromPosition(p) != line || model.LineStart(line) != start)
            return false;
    }
    return model.LineCount() == line + 1 && model.LineEnd(line) == int32_t(text.size());
}

// The first match at or after start, comparing at every position through the folding table (per
// unit, so texts with surrogate pairs need the model's own rules).
inline int32_t FindNaively(std::u16string_view text, std::u16string_view pattern, int32_t start,
                           bool matchCase) {
    const char16_t* table = casefold::BmpTable();
    auto fold = [&](char16_t c) { return matchCase ? c : table[c]; };
    for (size_t p = size_t(std::max(start, 0)); !pattern.empty() && p + pattern.size() <= text.size(); ++p) {
        size_t k = 0;
        while (k < pattern.size() && fold(text[p + k]) == fold(pattern[k]))
            ++k;
        if (k == pattern.size())
            return int32_t(p);
    }
    return -1;
}

} // namespace quillet::testing
