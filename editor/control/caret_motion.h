#pragma once
// Where the caret goes in the document model's text: a character at a time, never inside a CR LF
// pair or a surrogate pair, and a word at a time for Ctrl+arrows and double-click.

#include "editor/control/text_model.h"

#include <cstdint>

namespace quillet {

bool IsSpace(char16_t c);   // spaces and tabs a row may wrap after
bool IsBreak(char16_t c);   // CR or LF
bool IsControl(char16_t c); // drawn as a box; a tab is not one

// Whether a character belongs to words (letters, digits, the underscore); the platform knows
// every script, the tests pass their own.
using WordCharacterTest = bool (*)(char16_t);

int32_t NextPosition(const TextModel& text, int32_t position);
int32_t PreviousPosition(const TextModel& text, int32_t position);

// Ctrl+Left: to the start of the word before, a line break counting as a stop.
int32_t WordLeft(const TextModel& text, int32_t position, WordCharacterTest isWordCharacter);
// Ctrl+Right: past the word and the spaces after it, to the start of the next word.
int32_t WordRight(const TextModel& text, int32_t position, WordCharacterTest isWordCharacter);

struct WordRange {
    int32_t from = 0;
    int32_t to = 0;
};
// The word a double-click at position selects, with the spaces after a word; within its line.
WordRange WordAt(const TextModel& text, int32_t position, WordCharacterTest isWordCharacter);

} // namespace quillet
