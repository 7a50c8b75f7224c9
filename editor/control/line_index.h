#pragma once
// Where each line starts. The starts live in a gap buffer, and a shift still to be added to every
// start after some line is kept pending: typing in one place moves one boundary of the pending
// range instead of rewriting every later start, so an edit touches O(1) entries amortised.

#include "editor/control/gap_buffer.h"

#include <cstdint>
#include <vector>

namespace quillet {

class LineIndex {
public:
    LineIndex();

    // starts[0] must be 0 and the rest ascending.
    void Reset(std::vector<int32_t>&& starts);

    int32_t Count() const { return int32_t(starts_.Size()); }
    int32_t Start(int32_t line) const {
        return starts_.At(size_t(line)) + (line > stepLine_ ? stepShift_ : 0);
    }
    // The last line starting at or before position.
    int32_t LineOf(int32_t position) const;

    // Makes room for count more starts, so the next insertions of no more than that cannot fail.
    void Reserve(int32_t count) { starts_.Reserve(size_t(count)); }
    // Adds starts (ascending, each after line's start and before the next line's) after line.
    void InsertAfter(int32_t line, const int32_t* starts, int32_t count);
    // Removes count starts from line `first` on; line 0 stays.
    void Remove(int32_t first, int32_t count);
    // Moves the start of every line after `line` by delta.
    void ShiftAfter(int32_t line, int32_t delta);

private:
    void ApplyStepUpTo(int32_t line);

    GapBuffer<std::vector<int32_t>> starts_;
    // Starts of lines after stepLine_ still lack stepShift_.
    int32_t stepLine_ = 0;
    int32_t stepShift_ = 0;
};

} // namespace quillet
