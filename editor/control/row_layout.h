#pragma once
// How the document's lines fall into display rows when they wrap: where a line breaks into rows
// at a width, and the rows of every line — estimated at once, made exact a slice at a time while
// the editor is idle, kept up to date after an edit — with the row index that maps a row number
// to its line and back. The view measures characters; this part only adds up what it is told.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace quillet {

// The width a character takes when it starts at x (a tab reaches the next stop).
class CharacterMeasure {
public:
    virtual ~CharacterMeasure() = default;
    virtual int Advance(char16_t c, int x) = 0;
};

// Where each row of a line's text starts, the first at 0: words move to the next row whole
// unless one alone is wider than width, and a surrogate pair is never split.
std::vector<int32_t> WrapRows(std::u16string_view text, int width, CharacterMeasure& measure);
// Where the row of text that starts at start ends: the next row's start, or the text's end.
int32_t RowEnd(std::u16string_view text, int32_t start, int width, CharacterMeasure& measure);

// A line's characters from..to (offsets in the line).
using TextWindow = std::function<std::u16string(int32_t from, int32_t to)>;
// Updates a line's row starts after an edit replaced removed characters at editAt by inserted
// ones: the rows before the edit stay, and wrapping goes on only until a row starts where an old
// one did, so an edit costs a few rows however long the line is.
void RewrapRows(std::vector<int32_t>& starts, int32_t editAt, int32_t removed, int32_t inserted,
                int32_t length, const TextWindow& window, int width, CharacterMeasure& measure);

// Counts the rows of one line exactly.
class RowCounter {
public:
    virtual ~RowCounter() = default;
    virtual int32_t CountRows(int32_t line) = 0;
};

// A display row: the line, and the row within it.
struct RowPos {
    int32_t line = 0;
    int32_t sub = 0;
    bool operator==(const RowPos&) const = default;
};

class RowLayout {
public:
    explicit RowLayout(RowCounter& counter) : counter_(counter) {}

    // One row per line, holding no memory: without word wrap, or when memory runs out.
    void Unwrap(int32_t lineCount) noexcept;
    // Every line starts with estimate(line) rows; exact counts come later (Slice, RowsOf).
    void Wrap(int32_t lineCount, const std::function<int32_t(int32_t)>& estimate);

    int32_t LineCount() const { return lineCount_; }
    // Exact, counted now if it was an estimate.
    int32_t RowsOf(int32_t line);
    int32_t RowCount() const;
    bool Complete() const { return rows_.empty() || inexact_ <= 0; }

    // After an edit that replaced lines first..oldLast by first..newLast: the new lines are counted
    // now. False when the edit spans too many lines to follow; the caller then wraps anew.
    bool Splice(int32_t first, int32_t oldLast, int32_t newLast);

    // Counts lines visibleFirst..visibleLast, then others onwards from where the last slice
    // stopped, asking timeUp every few lines.
    void Slice(int32_t visibleFirst, int32_t visibleLast, const std::function<bool()>& timeUp);

    RowPos RowToPos(int32_t row);
    int32_t PosToRow(RowPos pos) const;
    // pos moved by rows (negative: up), stopping at the first and last rows.
    RowPos AddRows(RowPos pos, int32_t rows);

private:
    void Count(int32_t line);
    void RebuildIndex();
    void IndexAdd(int32_t line, int32_t delta);
    int32_t RowsBefore(int32_t line) const;

    RowCounter& counter_;
    int32_t lineCount_ = 1;
    std::vector<int32_t> rows_;  // rows per line, empty when unwrapped
    std::vector<uint8_t> exact_; // whether rows_ is counted or estimated
    std::vector<int32_t> index_; // Fenwick tree over rows_
    int32_t inexact_ = 0;        // lines still estimated
    int32_t nextToCount_ = 0;    // where the idle slices go on
};

} // namespace quillet
