#pragma once
// The x of positions along lines too long to measure whole on every key: the x at the start of
// each chunk of a line is kept once measured, so finding a position's x, or the position at an x,
// costs at most one chunk beyond what is already known, however long the line.

#include "editor/control/text_model.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace quillet {

// Measures a run of a line's characters that starts at x (a tab reaches the next stop); returns
// the x after it.
class RunMeasure {
public:
    virtual ~RunMeasure() = default;
    virtual int MeasureRun(std::u16string_view run, int x) = 0;
};

class LineWidths {
public:
    static constexpr int32_t kChunk = 4096; // characters

    LineWidths(const TextModel& text, RunMeasure& measure) : text_(text), measure_(measure) {}

    // After the font changed or the whole text was replaced.
    void Forget() { lines_.clear(); }
    // After an edit at position that changed the line count by lineDelta.
    void Edited(int32_t position, int32_t lineDelta);

    // x of position in its line, from the line's start.
    int XAt(int32_t line, int32_t position);
    // The last chunk start of the line at or before x: its position and x. Drawing and hit testing
    // start there and measure only what they show.
    struct Point {
        int32_t position;
        int x;
    };
    Point ChunkAtX(int32_t line, int x);
    // The line's width once measured to its end; until then as far as it is measured, the rest
    // counted at averageWidth a character.
    int64_t EstimatedWidth(int32_t line, int averageWidth);
    // Measures more of the line while timeUp says there is time; true once all of it is measured.
    bool MeasureAhead(int32_t line, const std::function<bool()>& timeUp);

private:
    struct Known {
        int32_t line;
        std::vector<int> chunkX; // x at the start of each measured chunk; chunkX[0] is 0
        int width = -1;          // the whole line's, once measured to its end
    };
    bool IsLong(int32_t line) const; // more than a chunk: worth keeping chunk starts for
    Known& For(int32_t line);
    // Measures one more chunk of the line; false at the line's end.
    bool MeasureNext(Known& known);
    // x after the characters from..to of the text, starting at x.
    int Measure(int32_t from, int32_t to, int x);

    const TextModel& text_;
    RunMeasure& measure_;
    std::vector<Known> lines_; // the few lines recently asked for, newest last
};

} // namespace quillet
