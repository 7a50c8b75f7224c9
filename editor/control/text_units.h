#pragma once
// The text cut into the units assistive technology reads by: characters (a surrogate pair or a
// CR LF is one), words, rows as the view shows them, lines of the document, pages of rows and the
// whole text. A unit runs from one boundary to the next; moving by units lands on boundaries.

#include "editor/control/caret_motion.h"
#include "editor/control/text_model.h"

#include <cstdint>

namespace quillet {

// Numbered as UI Automation numbers them, so the adapter passes them through.
enum class TextUnit { Character = 0, Format = 1, Word = 2, Line = 3, Paragraph = 4, Page = 5, Document = 6 };

// Where the view's rows start: a document line, or each of its wrapped rows.
class RowBreaks {
public:
    virtual ~RowBreaks() = default;
    virtual int32_t RowStartAt(int32_t position) = 0;
    // The start of the row after position's, or the text's length after the last row.
    virtual int32_t NextRowStart(int32_t position) = 0;
    virtual int32_t RowsPerPage() = 0;
};

struct TextSpan {
    int32_t start = 0;
    int32_t end = 0;
};

class TextUnits {
public:
    TextUnits(const TextModel& text, RowBreaks& rows, WordCharacterTest isWordCharacter)
        : text_(text), rows_(rows), isWordCharacter_(isWordCharacter) {}

    // The unit that holds position; at the text's end, the last one. A page is the screenful of
    // rows from position's row.
    TextSpan Enclosing(int32_t position, TextUnit unit);
    // The boundary count units away (backwards when count < 0); moved says how many units it
    // went, fewer when the text ends first.
    int32_t Step(int32_t position, TextUnit unit, int32_t count, int32_t& moved);

private:
    int32_t Next(int32_t position, TextUnit unit);
    int32_t Previous(int32_t position, TextUnit unit);
    int32_t NextBoundary(int32_t position, TextUnit unit);
    int32_t PreviousBoundary(int32_t position, TextUnit unit);

    const TextModel& text_;
    RowBreaks& rows_;
    WordCharacterTest isWordCharacter_;
};

} // namespace quillet
