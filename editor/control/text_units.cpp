#include "editor/control/text_units.h"

#include <algorithm>

namespace quillet {

TextSpan TextUnits::Enclosing(int32_t position, TextUnit unit) {
    const int32_t length = text_.TextLength();
    position = std::clamp(position, 0, length);
    if (length == 0)
        return {};
    // A page is a screenful of rows from the row that holds the position.
    if (unit == TextUnit::Page) {
        const int32_t start = rows_.RowStartAt(position);
        return {start, Next(start, unit)};
    }
    // A unit starts at the boundary before the one that ends it.
    const int32_t start = position < length ? Previous(Next(position, unit), unit) : Previous(length, unit);
    return {std::min(start, position), Next(std::min(start, position), unit)};
}

int32_t TextUnits::Step(int32_t position, TextUnit unit, int32_t count, int32_t& moved) {
    const int32_t length = text_.TextLength();
    position = std::clamp(position, 0, length);
    moved = 0;
    for (; count > 0 && position < length; --count, ++moved)
        position = Next(position, unit);
    for (; count < 0 && position > 0; ++count, --moved)
        position = Previous(position, unit);
    return position;
}

// Each unit's own boundary, or at least the next character: a step always moves, and never
// into a CR LF or a surrogate pair.
int32_t TextUnits::Next(int32_t position, TextUnit unit) {
    const int32_t length = text_.TextLength();
    if (position >= length)
        return length;
    const int32_t next = NextBoundary(position, unit);
    return next > position ? next : NextPosition(text_, position);
}

int32_t TextUnits::Previous(int32_t position, TextUnit unit) {
    if (position <= 0)
        return 0;
    const int32_t previous = PreviousBoundary(position, unit);
    return previous < position ? previous : PreviousPosition(text_, position);
}

int32_t TextUnits::NextBoundary(int32_t position, TextUnit unit) {
    const int32_t length = text_.TextLength();
    switch (unit) {
    case TextUnit::Character: return NextPosition(text_, position);
    case TextUnit::Word: return WordRight(text_, position, isWordCharacter_);
    case TextUnit::Line: return rows_.NextRowStart(position);
    case TextUnit::Paragraph: {
        const int32_t line = text_.LineFromPosition(position);
        return line + 1 < text_.LineCount() ? text_.LineStart(line + 1) : length;
    }
    case TextUnit::Page: {
        int32_t next = rows_.RowStartAt(position);
        for (int32_t row = std::max(1, rows_.RowsPerPage()); row > 0 && next < length; --row)
            next = Next(next, TextUnit::Line);
        return next;
    }
    case TextUnit::Format:
    case TextUnit::Document: break;
    }
    return length;
}

int32_t TextUnits::PreviousBoundary(int32_t position, TextUnit unit) {
    switch (unit) {
    case TextUnit::Character: return PreviousPosition(text_, position);
    case TextUnit::Word: return WordLeft(text_, position, isWordCharacter_);
    case TextUnit::Line: {
        const int32_t start = rows_.RowStartAt(position);
        return start < position ? start : rows_.RowStartAt(position - 1);
    }
    case TextUnit::Paragraph: {
        const int32_t line = text_.LineFromPosition(position);
        const int32_t start = text_.LineStart(line);
        return start < position ? start : text_.LineStart(line - 1);
    }
    case TextUnit::Page: {
        int32_t previous = position;
        for (int32_t row = std::max(1, rows_.RowsPerPage()); row > 0 && previous > 0; --row)
            previous = Previous(previous, TextUnit::Line);
        return previous;
    }
    case TextUnit::Format:
    case TextUnit::Document: break;
    }
    return 0;
}

} // namespace quillet
