#include "editor/control/line_index.h"

#include <algorithm>

namespace quillet {

LineIndex::LineIndex() {
    Reset({0});
}

void LineIndex::Reset(std::vector<int32_t>&& starts) {
    if (starts.empty())
        starts.push_back(0);
    starts_.Reset(std::move(starts));
    stepLine_ = 0;
    stepShift_ = 0;
}

int32_t LineIndex::LineOf(int32_t position) const {
    int32_t lo = 0;
    int32_t hi = Count() - 1;
    while (lo < hi) {
        int32_t mid = lo + (hi - lo + 1) / 2;
        if (Start(mid) <= position)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void LineIndex::ApplyStepUpTo(int32_t line) {
    if (stepShift_ == 0 || line <= stepLine_) {
        stepLine_ = std::max(stepLine_, line);
        return;
    }
    for (int32_t i = stepLine_ + 1; i <= line; ++i)
        starts_.At(size_t(i)) += stepShift_;
    stepLine_ = line;
    if (stepLine_ >= Count() - 1) {
        stepLine_ = Count() - 1;
        stepShift_ = 0;
    }
}

void LineIndex::InsertAfter(int32_t line, const int32_t* starts, int32_t count) {
    if (count <= 0)
        return;
    // The new starts are stored as they are, so everything up to them must be applied too.
    ApplyStepUpTo(line);
    starts_.Insert(size_t(line) + 1, starts, size_t(count));
    stepLine_ += count;
}

void LineIndex::Remove(int32_t first, int32_t count) {
    if (count <= 0)
        return;
    starts_.Erase(size_t(first), size_t(count));
    if (stepLine_ >= first + count)
        stepLine_ -= count;
    else
        stepLine_ = std::min(stepLine_, first - 1);
}

void LineIndex::ShiftAfter(int32_t line, int32_t delta) {
    if (delta == 0 || line >= Count() - 1)
        return;
    if (stepShift_ == 0) {
        stepLine_ = line;
        stepShift_ = delta;
    } else if (line >= stepLine_) {
        ApplyStepUpTo(line);
        stepShift_ += delta;
        if (stepShift_ == 0)
            stepLine_ = Count() - 1;
    } else if (stepLine_ - line <= Count() / 16 + 64) {
        // A little before the pending range: take those lines back into it.
        for (int32_t i = line + 1; i <= stepLine_; ++i)
            starts_.At(size_t(i)) -= stepShift_;
        stepLine_ = line;
        stepShift_ += delta;
    } else {
        ApplyStepUpTo(Count() - 1);
        stepLine_ = line;
        stepShift_ = delta;
    }
}

} // namespace quillet
