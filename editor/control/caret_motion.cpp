#include "editor/control/caret_motion.h"

#include <algorithm>

namespace quillet {
namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Word classes: 0 spaces, 1 word characters, 2 the rest.
int CharacterClass(char16_t c, WordCharacterTest isWordCharacter) {
    if (IsSpace(c))
        return 0;
    return isWordCharacter(c) ? 1 : 2;
}

} // namespace

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x3000 || c == 0xA0;
}
bool IsBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}
bool IsControl(char16_t c) {
    return c < 0x20 && c != u'\t';
}

int32_t NextPosition(const TextModel& text, int32_t position) {
    const int32_t length = text.TextLength();
    if (position >= length)
        return length;
    const char16_t c = text.CharAt(position);
    if (position + 1 < length) {
        const char16_t d = text.CharAt(position + 1);
        if ((c == u'\r' && d == u'\n') || (IsHighSurrogate(c) && IsLowSurrogate(d)))
            return position + 2;
    }
    return position + 1;
}

int32_t PreviousPosition(const TextModel& text, int32_t position) {
    if (position <= 0)
        return 0;
    const char16_t c = text.CharAt(position - 1);
    if (position >= 2) {
        const char16_t b = text.CharAt(position - 2);
        if ((b == u'\r' && c == u'\n') || (IsHighSurrogate(b) && IsLowSurrogate(c)))
            return position - 2;
    }
    return position - 1;
}

int32_t WordLeft(const TextModel& text, int32_t position, WordCharacterTest isWordCharacter) {
    if (position <= 0)
        return 0;
    if (IsBreak(text.CharAt(position - 1)))
        return PreviousPosition(text, position);
    while (position > 0 && IsSpace(text.CharAt(position - 1)))
        --position;
    if (position > 0 && !IsBreak(text.CharAt(position - 1))) {
        const int kind = CharacterClass(text.CharAt(position - 1), isWordCharacter);
        while (position > 0 && !IsBreak(text.CharAt(position - 1)) &&
               CharacterClass(text.CharAt(position - 1), isWordCharacter) == kind)
            --position;
    }
    return position;
}

int32_t WordRight(const TextModel& text, int32_t position, WordCharacterTest isWordCharacter) {
    const int32_t length = text.TextLength();
    if (position >= length)
        return length;
    if (IsBreak(text.CharAt(position)))
        return NextPosition(text, position);
    const int kind = CharacterClass(text.CharAt(position), isWordCharacter);
    if (kind != 0)
        while (position < length && !IsBreak(text.CharAt(position)) &&
               CharacterClass(text.CharAt(position), isWordCharacter) == kind)
            ++position;
    while (position < length && IsSpace(text.CharAt(position)))
        ++position;
    return position;
}

WordRange WordAt(const TextModel& text, int32_t position, WordCharacterTest isWordCharacter) {
    const int32_t line = text.LineFromPosition(position);
    const int32_t lineStart = text.LineStart(line);
    const int32_t lineEnd = text.LineEnd(line);
    if (lineStart == lineEnd)
        return {position, position};
    position = std::min(position, lineEnd - 1);
    const int kind = CharacterClass(text.CharAt(position), isWordCharacter);
    int32_t from = position, to = position;
    while (from > lineStart && CharacterClass(text.CharAt(from - 1), isWordCharacter) == kind)
        --from;
    while (to < lineEnd && CharacterClass(text.CharAt(to), isWordCharacter) == kind)
        ++to;
    // As in other editors, a word takes the spaces after it.
    if (kind == 1)
        while (to < lineEnd && text.CharAt(to) == u' ')
            ++to;
    return {from, to};
}

} // namespace quillet
