#pragma once
// A sequence with a movable gap: inserting or erasing near the last edit costs only the size of
// the edit, and the storage is one block (two halves around the gap) that can be scanned
// directly. Container is std::u16string for the text, so a caller's string can be taken over
// without a copy, or std::vector for the line index.

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>

namespace quillet {

template <class Container> class GapBuffer {
public:
    using T = typename Container::value_type;

    GapBuffer() = default;

    // Takes over the container; its spare capacity becomes the gap, at the end. Without enough
    // spare room the block is widened now, so the first keystroke in a large document does not
    // pay for copying all of it; a caller that reserves Spare(size) more avoids even this copy.
    // Running out of memory leaves the buffer as it was (the container is lost).
    void Reset(Container&& content) {
        Container incoming = std::move(content);
        const size_t spare = Spare(incoming.size());
        if (incoming.capacity() - incoming.size() < spare / 2)
            incoming.reserve(incoming.size() + spare);
        const size_t size = incoming.size();
        incoming.resize(incoming.capacity()); // within capacity: cannot throw
        data_ = std::move(incoming);
        gapStart_ = size;
        gapLength_ = data_.size() - size;
    }

    // Makes room for count more elements, so the next edits that add no more than that cannot
    // fail half-done. Running out of memory leaves the buffer as it was.
    void Reserve(size_t count) {
        if (gapLength_ < count)
            Grow(count);
    }

    size_t Size() const { return data_.size() - gapLength_; }
    size_t GapLength() const { return gapLength_; }
    size_t GapStart() const { return gapStart_; }
    size_t Capacity() const { return data_.capacity(); }

    T At(size_t i) const { return i < gapStart_ ? data_[i] : data_[i + gapLength_]; }
    T& At(size_t i) { return i < gapStart_ ? data_[i] : data_[i + gapLength_]; }

    // The halves before and after the gap.
    std::span<const T> Before() const { return {data_.data(), gapStart_}; }
    std::span<const T> After() const {
        return {data_.data() + gapStart_ + gapLength_, data_.size() - gapStart_ - gapLength_};
    }

    void Insert(size_t position, const T* values, size_t count) {
        if (count == 0)
            return;
        Reserve(count);
        MoveGap(position);
        std::copy(values, values + count, data_.data() + gapStart_);
        gapStart_ += count;
        gapLength_ -= count;
    }

    void Erase(size_t position, size_t count) {
        if (count == 0)
            return;
        MoveGap(position);
        gapLength_ += count;
    }

    // Copies [start, start + count) out, across the gap if need be.
    template <class Out> void CopyTo(size_t start, size_t count, Out& out) const {
        size_t end = start + count;
        if (start < gapStart_) {
            size_t firstEnd = std::min(end, gapStart_);
            out.append(data_.data() + start, firstEnd - start);
            start = firstEnd;
        }
        if (start < end)
            out.append(data_.data() + start + gapLength_, end - start);
    }

    void MoveGap(size_t position) {
        T* base = data_.data();
        if (position < gapStart_)
            std::move_backward(base + position, base + gapStart_, base + gapStart_ + gapLength_);
        else if (position > gapStart_)
            std::move(base + gapStart_ + gapLength_, base + position + gapLength_, base + gapStart_);
        gapStart_ = position;
    }

    // Room kept for edits beyond the content: a sixteenth of it (bounded), so steady-state memory
    // stays near the content's.
    static size_t Spare(size_t size) { return std::clamp<size_t>(size / 16, 1024, size_t(8) << 20); }

private:
    // A new block with room for at least `needed` more, the gap kept where it is. The old block
    // is let go only once the new one is complete.
    void Grow(size_t needed) {
        size_t size = Size();
        size_t newGap = std::max(needed, Spare(size));
        // Each element written once: the text before the gap, the gap, the text after it.
        const T* base = data_.data();
        const size_t after = data_.size() - gapStart_ - gapLength_;
        Container grown;
        grown.reserve(size + newGap);
        grown.insert(grown.end(), base, base + gapStart_);
        grown.resize(gapStart_ + newGap);
        grown.insert(grown.end(), base + gapStart_ + gapLength_, base + gapStart_ + gapLength_ + after);
        data_ = std::move(grown);
        gapLength_ = newGap;
    }

    Container data_;
    size_t gapStart_ = 0;
    size_t gapLength_ = 0;
};

} // namespace quillet
