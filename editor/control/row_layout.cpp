#include "editor/control/row_layout.h"

#include "editor/control/caret_motion.h"

#include <algorithm>

namespace quillet {
namespace {

// Edits that touch more lines than this estimate the whole layout anew instead of splicing it.
constexpr int32_t kSpliceLimit = 2000;

size_t LowestBit(size_t i) {
    return i & (~i + 1);
}

} // namespace

int32_t RowEnd(std::u16string_view text, int32_t start, int width, CharacterMeasure& measure) {
    const int32_t n = static_cast<int32_t>(text.size());
    int32_t lastBreak = -1;
    int x = 0;
    for (int32_t i = start; i < n; ++i) {
        const char16_t c = text[i];
        const int advance = measure.Advance(c, x);
        if (x + advance > width && i > start && !IsSpace(c)) {
            int32_t at = lastBreak > start ? lastBreak : i;
            if (text[at] >= 0xDC00 && text[at] <= 0xDFFF && at - 1 > start)
                --at; // never split a surrogate pair
            return at;
        }
        x += advance;
        if (IsSpace(c))
            lastBreak = i + 1;
    }
    return n;
}

std::vector<int32_t> WrapRows(std::u16string_view text, int width, CharacterMeasure& measure) {
    std::vector<int32_t> starts(1, 0);
    const int32_t n = static_cast<int32_t>(text.size());
    for (int32_t end = RowEnd(text, 0, width, measure); end < n; end = RowEnd(text, end, width, measure))
        starts.push_back(end);
    return starts;
}

void RewrapRows(std::vector<int32_t>& starts, int32_t editAt, int32_t removed, int32_t inserted,
                int32_t length, const TextWindow& window, int width, CharacterMeasure& measure) {
    const int32_t shift = inserted - removed;
    // From the row before the edit's: a deletion can let a word move up into it.
    const size_t editRow =
        size_t(std::upper_bound(starts.begin(), starts.end(), editAt) - starts.begin()) - 1;
    const size_t restart = editRow > 0 ? editRow - 1 : 0;
    // The rows wrapped anew replace the old ones in place: a long line's rows are not copied.
    auto replaceRows = [&](size_t oldEnd, const std::vector<int32_t>& fresh) {
        const auto from = starts.begin() + std::ptrdiff_t(restart) + 1;
        const size_t oldCount = oldEnd - restart - 1;
        if (fresh.size() == oldCount) {
            std::copy(fresh.begin(), fresh.end(), from);
        } else {
            starts.erase(from, starts.begin() + std::ptrdiff_t(oldEnd));
            starts.insert(starts.begin() + std::ptrdiff_t(restart) + 1, fresh.begin(), fresh.end());
        }
    };
    // Every character is a pixel wide or more (a surrogate pair together), so a row never holds
    // more than twice the width in characters.
    const int32_t rowLimit = 2 * std::max(1, width) + 8;
    std::vector<int32_t> fresh;
    for (int32_t start = starts[restart];;) {
        const int32_t windowEnd = std::min<int64_t>(length, int64_t(start) + rowLimit);
        const std::u16string text = window(start, windowEnd);
        int32_t end = start + RowEnd(text, 0, width, measure);
        if (end >= length) {
            replaceRows(starts.size(), fresh);
            return;
        }
        fresh.push_back(end);
        if (end > editAt + inserted) {
            // Past the edit, a row that starts where an old one did (shifted) ends the work: the
            // rows after it are the old ones, moved by the edit.
            auto same = std::lower_bound(starts.begin() + std::ptrdiff_t(editRow), starts.end(), end - shift);
            if (same != starts.end() && *same == end - shift) {
                const size_t sameIndex = size_t(same - starts.begin());
                for (size_t k = sameIndex + 1; k < starts.size(); ++k)
                    starts[k] += shift;
                replaceRows(sameIndex + 1, fresh);
                return;
            }
        }
        start = end;
    }
}

void RowLayout::Unwrap(int32_t lineCount) noexcept {
    std::vector<int32_t>().swap(rows_);
    std::vector<uint8_t>().swap(exact_);
    std::vector<int32_t>().swap(index_);
    lineCount_ = lineCount;
    inexact_ = 0;
    nextToCount_ = 0;
}

void RowLayout::Wrap(int32_t lineCount, const std::function<int32_t(int32_t)>& estimate) {
    Unwrap(lineCount);
    rows_.resize(size_t(lineCount));
    exact_.assign(size_t(lineCount), 0);
    for (int32_t i = 0; i < lineCount; ++i)
        rows_[size_t(i)] = std::max(1, estimate(i));
    inexact_ = lineCount;
    RebuildIndex();
}

int32_t RowLayout::RowsOf(int32_t line) {
    if (rows_.empty() || line < 0 || size_t(line) >= rows_.size())
        return 1;
    Count(line);
    return rows_[size_t(line)];
}

void RowLayout::Count(int32_t line) {
    if (exact_[size_t(line)])
        return;
    const int32_t now = counter_.CountRows(line);
    IndexAdd(line, now - rows_[size_t(line)]);
    rows_[size_t(line)] = now;
    exact_[size_t(line)] = 1;
    --inexact_;
}

int32_t RowLayout::RowCount() const {
    return rows_.empty() ? lineCount_ : RowsBefore(lineCount_);
}

bool RowLayout::Splice(int32_t first, int32_t oldLast, int32_t newLast) {
    const int32_t delta = newLast - oldLast;
    lineCount_ += delta;
    if (rows_.empty())
        return true;
    if (newLast - first > kSpliceLimit || oldLast - first > kSpliceLimit || oldLast < first ||
        size_t(oldLast) >= rows_.size())
        return false;
    for (int32_t i = first; i <= oldLast; ++i)
        if (!exact_[size_t(i)])
            --inexact_;
    const int32_t oldN = oldLast - first + 1, newN = newLast - first + 1;
    if (newN != oldN) {
        rows_.erase(rows_.begin() + first, rows_.begin() + first + oldN);
        exact_.erase(exact_.begin() + first, exact_.begin() + first + oldN);
        rows_.insert(rows_.begin() + first, size_t(newN), 0);
        exact_.insert(exact_.begin() + first, size_t(newN), 0);
        for (int32_t i = first; i <= newLast; ++i) {
            rows_[size_t(i)] = counter_.CountRows(i);
            exact_[size_t(i)] = 1;
        }
        RebuildIndex();
        if (nextToCount_ > first)
            nextToCount_ = std::max(first, nextToCount_ + delta);
    } else {
        for (int32_t i = first; i <= newLast; ++i) {
            const int32_t now = counter_.CountRows(i);
            IndexAdd(i, now - rows_[size_t(i)]);
            rows_[size_t(i)] = now;
            exact_[size_t(i)] = 1;
        }
    }
    return true;
}

void RowLayout::Slice(int32_t visibleFirst, int32_t visibleLast, const std::function<bool()>& timeUp) {
    if (Complete())
        return;
    for (int32_t i = std::max(0, visibleFirst); i <= std::min(visibleLast, lineCount_ - 1); ++i)
        Count(i);
    int32_t steps = 0;
    while (inexact_ > 0) {
        if (nextToCount_ >= lineCount_)
            nextToCount_ = 0;
        Count(nextToCount_++);
        if (++steps % 256 == 0 && timeUp())
            break;
    }
}

void RowLayout::RebuildIndex() {
    const size_t n = rows_.size();
    index_.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
        index_[i] += rows_[i - 1];
        const size_t parent = i + LowestBit(i);
        if (parent <= n)
            index_[parent] += index_[i];
    }
}

void RowLayout::IndexAdd(int32_t line, int32_t delta) {
    if (delta == 0)
        return;
    for (size_t i = size_t(line) + 1; i < index_.size(); i += LowestBit(i))
        index_[i] += delta;
}

int32_t RowLayout::RowsBefore(int32_t line) const {
    if (rows_.empty())
        return line;
    int32_t sum = 0;
    for (size_t i = size_t(line); i > 0; i -= LowestBit(i))
        sum += index_[i];
    return sum;
}

RowPos RowLayout::RowToPos(int32_t row) {
    row = std::max(0, row);
    if (rows_.empty())
        return {std::min(row, lineCount_ - 1), 0};
    // Descend the tree to the line that holds the row.
    size_t pos = 0;
    int32_t rest = row;
    size_t step = 1;
    while (step * 2 < index_.size())
        step *= 2;
    for (; step > 0; step /= 2) {
        if (pos + step < index_.size() && index_[pos + step] <= rest) {
            pos += step;
            rest -= index_[pos];
        }
    }
    const int32_t line = static_cast<int32_t>(pos);
    if (line >= lineCount_)
        return {lineCount_ - 1, RowsOf(lineCount_ - 1) - 1};
    return {line, std::min(rest, RowsOf(line) - 1)};
}

int32_t RowLayout::PosToRow(RowPos pos) const {
    return rows_.empty() ? pos.line : RowsBefore(pos.line) + pos.sub;
}

RowPos RowLayout::AddRows(RowPos pos, int32_t rows) {
    while (rows > 0) {
        const int32_t left = RowsOf(pos.line) - 1 - pos.sub;
        if (rows <= left) {
            pos.sub += rows;
            return pos;
        }
        if (pos.line + 1 >= lineCount_) {
            pos.sub = RowsOf(pos.line) - 1;
            return pos;
        }
        rows -= left + 1;
        ++pos.line;
        pos.sub = 0;
    }
    while (rows < 0) {
        if (-rows <= pos.sub) {
            pos.sub += rows;
            return pos;
        }
        if (pos.line == 0) {
            pos.sub = 0;
            return pos;
        }
        rows += pos.sub + 1;
        --pos.line;
        pos.sub = RowsOf(pos.line) - 1;
    }
    return pos;
}

} // namespace quillet
