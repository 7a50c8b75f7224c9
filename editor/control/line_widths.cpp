#include "editor/control/line_widths.h"

#include <algorithm>

namespace quillet {
namespace {

constexpr size_t kLinesKept = 8;

} // namespace

void LineWidths::Edited(int32_t position, int32_t lineDelta) {
    const int32_t line = text_.LineFromPosition(std::min(position, text_.TextLength()));
    const int32_t offset = position - text_.LineStart(line);
    std::erase_if(lines_, [&](Known& known) {
        if (known.line < line)
            return false;
        if (known.line > line)
            return lineDelta != 0; // they moved; rarely worth keeping
        // What starts after the edit's chunk is measured again when asked.
        known.chunkX.resize(std::min(known.chunkX.size(), size_t(offset / kChunk) + 1));
        known.width = -1;
        return false;
    });
}

LineWidths::Known& LineWidths::For(int32_t line) {
    auto it = std::find_if(lines_.begin(), lines_.end(), [&](const Known& k) { return k.line == line; });
    if (it != lines_.end()) {
        std::rotate(it, it + 1, lines_.end());
        return lines_.back();
    }
    if (lines_.size() >= kLinesKept)
        lines_.erase(lines_.begin());
    lines_.push_back({line, {0}, -1});
    return lines_.back();
}

bool LineWidths::MeasureNext(Known& known) {
    const int32_t start = text_.LineStart(known.line);
    const int32_t end = text_.LineEnd(known.line);
    const int32_t from = start + int32_t(known.chunkX.size() - 1) * kChunk;
    if (from + kChunk >= end) {
        if (known.width < 0)
            known.width = Measure(from, end, known.chunkX.back());
        return false;
    }
    known.chunkX.push_back(Measure(from, from + kChunk, known.chunkX.back()));
    return true;
}

int LineWidths::Measure(int32_t from, int32_t to, int x) {
    // Straight from the model's storage, which is two pieces around its gap: no copy. Asked
    // afresh each time: the storage can move whenever the model reserves room, even for an edit
    // it then refuses.
    int32_t pieceStart = 0;
    for (std::u16string_view piece : text_.Pieces()) {
        const int32_t pieceEnd = pieceStart + int32_t(piece.size());
        const int32_t a = std::max(from, pieceStart), b = std::min(to, pieceEnd);
        if (a < b)
            x = measure_.MeasureRun(piece.substr(size_t(a - pieceStart), size_t(b - a)), x);
        pieceStart = pieceEnd;
    }
    return x;
}

bool LineWidths::IsLong(int32_t line) const {
    return text_.LineEnd(line) - text_.LineStart(line) > kChunk;
}

int LineWidths::XAt(int32_t line, int32_t position) {
    const int32_t start = text_.LineStart(line);
    if (!IsLong(line)) // measured whole every time, and never crowding out the long lines
        return Measure(start, std::max(start, position), 0);
    Known& known = For(line);
    const int32_t offset = std::max(0, position - start);
    const size_t chunk = size_t(offset / kChunk);
    while (known.chunkX.size() <= chunk && MeasureNext(known)) {
    }
    const size_t from = std::min(chunk, known.chunkX.size() - 1);
    const int32_t runStart = start + int32_t(from) * kChunk;
    return Measure(runStart, start + offset, known.chunkX[from]);
}

LineWidths::Point LineWidths::ChunkAtX(int32_t line, int x) {
    if (!IsLong(line))
        return {text_.LineStart(line), 0};
    Known& known = For(line);
    while (known.chunkX.back() <= x && MeasureNext(known)) {
    }
    auto it = std::upper_bound(known.chunkX.begin(), known.chunkX.end(), x);
    const size_t chunk = it == known.chunkX.begin() ? 0 : size_t(it - known.chunkX.begin()) - 1;
    return {text_.LineStart(line) + int32_t(chunk) * kChunk, known.chunkX[chunk]};
}

bool LineWidths::MeasureAhead(int32_t line, const std::function<bool()>& timeUp) {
    if (!IsLong(line))
        return true;
    Known& known = For(line);
    for (int chunks = 1;; ++chunks) {
        if (!MeasureNext(known))
            return true;
        if (chunks % 64 == 0 && timeUp())
            return false;
    }
}

int64_t LineWidths::EstimatedWidth(int32_t line, int averageWidth) {
    if (!IsLong(line))
        return Measure(text_.LineStart(line), text_.LineEnd(line), 0);
    Known& known = For(line);
    if (known.width >= 0)
        return known.width;
    const int32_t length = text_.LineEnd(line) - text_.LineStart(line);
    const int32_t measured = int32_t(known.chunkX.size() - 1) * kChunk;
    return int64_t(known.chunkX.back()) + int64_t(std::max(0, length - measured)) * averageWidth;
}

} // namespace quillet
