#include "editor/control/text_model.h"

#include "editor/control/gap_buffer.h"
#include "editor/control/line_index.h"
#include "editor/control/text_search.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <limits>
#include <stdexcept>
#include <vector>

namespace quillet {

namespace {

constexpr size_t kMaxUndoSteps = 1000;

// CR LF, a lone CR and a lone LF each become CR LF.
std::u16string NormalizeBreaks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

struct UndoEdit {
    size_t position;
    std::u16string removed;
    std::u16string inserted;
};

struct UndoStep {
    std::vector<UndoEdit> edits;
    int32_t anchor; // the selection before the step
    int32_t caret;
};

} // namespace

struct TextModel::Impl {

    TextControlEvents* events = nullptr;
    TextModelObserver* observer = nullptr;

    GapBuffer<std::u16string> text;
    LineIndex lines;
    int32_t anchor = 0;
    int32_t caret = 0;

    FontSpec font{u"Courier New", 10, false, false};

    std::deque<UndoStep> undo;
    bool typingRunOpen = false;
    // The starts of an edit's new lines; reserved before the edit begins, so it cannot fail.
    std::vector<int32_t> newStarts;

    int32_t Length() const { return int32_t(text.Size()); }
    char16_t At(size_t i) const { return text.At(i); }

    std::u16string Range(size_t start, size_t end) const {
        std::u16string out;
        out.reserve(end - start);
        text.CopyTo(start, end - start, out);
        return out;
    }

    bool InsideBreak(int32_t p) const {
        return p > 0 && p < Length() && At(p - 1) == u'\r' && At(p) == u'\n';
    }

    int32_t Clamp(int64_t p) const { return int32_t(std::clamp<int64_t>(p, 0, Length())); }

    // A position between CR and LF moves off the pair: down, or up for the far end of a range.
    int32_t Snap(int64_t p, bool up) const {
        int32_t c = Clamp(p);
        return InsideBreak(c) ? (up ? c + 1 : c - 1) : c;
    }

    void Notify() {
        if (observer)
            observer->OnSelectionChanged();
    }

    void RaiseChange() {
        if (events)
            events->OnChange();
    }

    // Every font write is a change the core must hear of, even one that keeps the value.
    void FontWritten() {
        if (observer)
            observer->OnFontChanged();
        RaiseChange();
    }

    // Moves the selection; a real move ends the typing run.
    void Select(int64_t newAnchor, int64_t newCaret) {
        bool forward = newAnchor <= newCaret;
        int32_t a = Snap(newAnchor, !forward);
        int32_t c = Snap(newCaret, forward && newAnchor != newCaret);
        if (a == anchor && c == caret)
            return;
        anchor = a;
        caret = c;
        typingRunOpen = false;
        Notify();
    }

    // Room for edits that together insert `grow` more units than they remove and add up to
    // `breaks` lines, at most `maxBreaks` in one edit. Everything an edit may allocate is taken
    // here, before anything changes, so running out of memory leaves the document as it was.
    void Prepare(size_t grow, size_t breaks, size_t maxBreaks) {
        text.Reserve(grow);
        lines.Reserve(int32_t(breaks));
        newStarts.reserve(maxBreaks);
    }
    void Prepare(size_t removeLength, std::u16string_view inserted) {
        size_t breaks = size_t(std::count(inserted.begin(), inserted.end(), u'\n'));
        Prepare(inserted.size() > removeLength ? inserted.size() - removeLength : 0, breaks, breaks);
    }

    // Replaces [position, position + removeLength) with already normalised text; keeps the line
    // index in step. Selection and undo are the caller's, and so is Prepare: with the room taken
    // there this cannot fail.
    void Apply(size_t position, size_t removeLength, std::u16string_view inserted) noexcept {
        if (removeLength > 0) {
            int32_t first = lines.LineOf(int32_t(position));
            int32_t last = lines.LineOf(int32_t(position + removeLength));
            lines.Remove(first + 1, last - first);
            lines.ShiftAfter(first, -int32_t(removeLength));
            text.Erase(position, removeLength);
        }
        if (!inserted.empty()) {
            int32_t line = lines.LineOf(int32_t(position));
            newStarts.clear();
            for (size_t i = 0; i < inserted.size(); ++i)
                if (inserted[i] == u'\n')
                    newStarts.push_back(int32_t(position + i + 1));
            lines.ShiftAfter(line, int32_t(inserted.size()));
            lines.InsertAfter(line, newStarts.data(), int32_t(newStarts.size()));
            text.Insert(position, inserted.data(), inserted.size());
        }
        if (observer)
            observer->OnTextChanged(int32_t(position), int32_t(removeLength), int32_t(inserted.size()));
    }

    // Throws, before anything changes, when the text would grow past what positions can count.
    void CheckRoom(size_t removeLength, size_t insertLength) const {
        size_t room = size_t(std::numeric_limits<int32_t>::max()) - (size_t(Length()) - removeLength);
        if (insertLength > room)
            throw std::length_error("the text would be too long");
    }

    void Record(size_t position, std::u16string removed, std::u16string_view inserted, EditKind kind) {
        if (kind == EditKind::Typing && typingRunOpen && !undo.empty() && !undo.back().edits.empty()) {
            UndoEdit& last = undo.back().edits.back();
            size_t lastEnd = last.position + last.inserted.size();
            if (removed.empty() && position == lastEnd) {
                last.inserted.append(inserted);
                return;
            }
            if (inserted.empty() && position + removed.size() == lastEnd &&
                removed.size() <= last.inserted.size()) {
                // Backspace over what this run typed: the run just types less.
                last.inserted.resize(last.inserted.size() - removed.size());
                return;
            }
            undo.back().edits.push_back({position, std::move(removed), std::u16string(inserted)});
            return;
        }
        UndoStep step{{}, anchor, caret};
        step.edits.push_back({position, std::move(removed), std::u16string(inserted)});
        undo.push_back(std::move(step));
        if (undo.size() > kMaxUndoSteps)
            undo.pop_front();
        typingRunOpen = kind == EditKind::Typing;
    }

    // Every write of text ends here: one undo record, caret after the new text, Change. Out of
    // memory (std::bad_alloc) or past what positions can count (std::length_error), it throws
    // before anything has changed.
    void Edit(int32_t start, int32_t end, std::u16string_view rawText, EditKind kind) {
        std::u16string inserted = NormalizeBreaks(rawText);
        CheckRoom(size_t(end - start), inserted.size());
        if (start != end || !inserted.empty()) {
            Prepare(size_t(end - start), inserted);
            Record(size_t(start), Range(size_t(start), size_t(end)), inserted, kind);
            Apply(size_t(start), size_t(end - start), inserted);
        }
        if (kind != EditKind::Typing)
            typingRunOpen = false;
        int32_t newCaret = start + int32_t(inserted.size());
        if (anchor != newCaret || caret != newCaret) {
            anchor = caret = newCaret;
            Notify();
        }
        RaiseChange();
    }

    // Bounds of a range given in any order, clamped and widened to whole line breaks.
    std::pair<int32_t, int32_t> Bounds(int64_t a, int64_t b) const {
        if (a > b)
            std::swap(a, b);
        return {Snap(a, false), Snap(b, a != b)};
    }
};

size_t SpareRoomFor(size_t length) {
    return GapBuffer<std::u16string>::Spare(length);
}

TextModel::TextModel() : impl_(std::make_unique<Impl>()) {}

TextModel::~TextModel() = default;

void TextModel::SetEvents(TextControlEvents* events) {
    impl_->events = events;
}
TextControlEvents* TextModel::Events() const {
    return impl_->events;
}
void TextModel::SetObserver(TextModelObserver* observer) {
    impl_->observer = observer;
}

std::u16string TextModel::Text() const {
    return impl_->Range(0, impl_->text.Size());
}

void TextModel::SetText(std::u16string text) {
    Impl& m = *impl_;
    int32_t oldLength = m.Length();

    // One pass finds the line starts as they will be after normalising, and how much longer the
    // text gets; most files need nothing more.
    std::vector<int32_t> starts{0};
    size_t extra = 0;
    const size_t n = text.size();
    const char16_t* s = text.data();
    for (size_t i = 0; i < n; ++i) {
        char16_t c = s[i];
        if (c > u'\r')
            continue;
        if (c == u'\r') {
            if (i + 1 < n && s[i + 1] == u'\n')
                ++i;
            else
                ++extra;
            starts.push_back(int32_t(i + 1 + extra));
        } else if (c == u'\n') {
            ++extra;
            starts.push_back(int32_t(i + 1 + extra));
        }
    }

    if (extra > 0) {
        if (text.capacity() >= n + extra) {
            // Widen in place from the end; stops as soon as nothing more needs to move.
            text.resize(n + extra);
            char16_t* d = text.data();
            size_t r = n;
            size_t w = n + extra;
            while (r < w) {
                char16_t c = d[--r];
                if (c == u'\n') {
                    d[--w] = u'\n';
                    if (r > 0 && d[r - 1] == u'\r')
                        --r;
                    d[--w] = u'\r';
                } else if (c == u'\r') {
                    d[--w] = u'\n';
                    d[--w] = u'\r';
                } else {
                    d[--w] = c;
                }
            }
        } else {
            std::u16string widened;
            widened.resize(n + extra);
            char16_t* d = widened.data();
            size_t w = 0;
            for (size_t i = 0; i < n; ++i) {
                char16_t c = s[i];
                if (c == u'\r' || c == u'\n') {
                    d[w++] = u'\r';
                    d[w++] = u'\n';
                    if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n')
                        ++i;
                } else {
                    d[w++] = c;
                }
            }
            text = std::move(widened);
        }
    }

    // Growing by doubling may have left the index up to half empty; give most of that back.
    if (starts.capacity() > starts.size() + starts.size() / 4)
        starts.shrink_to_fit();
    // Both halves are built aside and then swapped in, so running out of memory in either keeps
    // the old document whole.
    GapBuffer<std::u16string> newText;
    newText.Reset(std::move(text));
    LineIndex newLines;
    newLines.Reset(std::move(starts));
    m.text = std::move(newText);
    m.lines = std::move(newLines);
    m.anchor = m.caret = 0;
    m.undo.clear();
    m.typingRunOpen = false;
    if (m.observer) {
        m.observer->OnTextChanged(0, oldLength, m.Length());
        m.observer->OnSelectionChanged();
    }
    m.RaiseChange();
}

int32_t TextModel::TextLength() const {
    return impl_->Length();
}

int32_t TextModel::SelStart() const {
    return std::min(impl_->anchor, impl_->caret);
}
int32_t TextModel::SelLength() const {
    return std::abs(impl_->caret - impl_->anchor);
}

void TextModel::SetSelStart(int32_t start) {
    impl_->Select(start, start);
}

void TextModel::SetSelLength(int32_t length) {
    int64_t start = SelStart();
    impl_->Select(start, start + std::max<int64_t>(length, 0));
}

std::u16string TextModel::SelText() const {
    return impl_->Range(size_t(SelStart()), size_t(SelStart() + SelLength()));
}

void TextModel::SetSelText(std::u16string_view text) {
    ReplaceSelection(text, EditKind::Program);
}

void TextModel::ReplaceSelection(std::u16string_view text, EditKind kind) {
    impl_->Edit(SelStart(), SelStart() + SelLength(), text, kind);
}

void TextModel::ReplaceRange(int32_t start, int32_t end, std::u16string_view text, EditKind kind) {
    auto [from, to] = impl_->Bounds(start, end);
    impl_->Edit(from, to, text, kind);
}

FontSpec TextModel::Font() const {
    return impl_->font;
}

void TextModel::SetFontName(std::u16string_view name) {
    impl_->font.name = name;
    impl_->FontWritten();
}

void TextModel::SetFontSize(int32_t points) {
    impl_->font.size = points;
    impl_->FontWritten();
}

void TextModel::SetFontBold(bool bold) {
    impl_->font.bold = bold;
    impl_->FontWritten();
}

void TextModel::SetFontItalic(bool italic) {
    impl_->font.italic = italic;
    impl_->FontWritten();
}

int32_t TextModel::Search(std::u16string_view text, int32_t start, FindOption option) const {
    if (text.empty() || start >= TextLength())
        return -1;
    const SearchPattern pattern(text, option == FindOption::MatchCase);
    return pattern.FindIn(impl_->text, size_t(std::max(start, 0)));
}

int32_t TextModel::Find(std::u16string_view text, int32_t start, FindOption option) {
    const int32_t found = Search(text, start, option);
    if (found >= 0)
        impl_->Select(found, int64_t(found) + int64_t(text.size()));
    return found;
}

int32_t TextModel::ReplaceAll(std::u16string_view pattern, std::u16string_view replacement,
                              FindOption option) {
    Impl& m = *impl_;
    if (pattern.empty())
        return 0;
    const SearchPattern prepared(pattern, option == FindOption::MatchCase);
    const std::u16string inserted = NormalizeBreaks(replacement);

    // Calls visit(from, to) for each match, as the loop of single replacements would meet them.
    auto forEachMatch = [&](auto&& visit) {
        int32_t found = prepared.FindIn(m.text, 0);
        while (found >= 0) {
            auto [from, to] = m.Bounds(found, int64_t(found) + int64_t(pattern.size()));
            visit(from, to);
            found = to < m.Length() ? prepared.FindIn(m.text, size_t(to)) : -1;
        }
    };

    // The new text from the first match to the end of the last is built in one pass; what lies
    // outside stays where it is. A result that grows is measured first (matches times the
    // difference in length), so one that cannot be held is refused before anything is built.
    std::u16string middle;
    if (inserted.size() > pattern.size()) {
        int32_t first = -1;
        int32_t last = 0;
        size_t matched = 0;
        size_t count = 0;
        forEachMatch([&](int32_t from, int32_t to) {
            if (first < 0)
                first = from;
            last = to;
            matched += size_t(to - from);
            ++count;
        });
        if (count == 0)
            return 0;
        const size_t kept = size_t(last - first) - matched;
        const uint64_t size = uint64_t(kept) + uint64_t(count) * inserted.size();
        m.CheckRoom(size_t(last - first),
                    size_t(std::min<uint64_t>(size, std::numeric_limits<size_t>::max())));
        middle.reserve(size_t(size));
    }
    int32_t count = 0;
    int32_t first = -1;
    int32_t copied = 0; // the old text before this is done with
    forEachMatch([&](int32_t from, int32_t to) {
        if (first < 0)
            first = copied = from;
        m.text.CopyTo(size_t(copied), size_t(from - copied), middle);
        middle += inserted;
        copied = to;
        ++count;
    });
    if (count == 0)
        return 0;
    m.CheckRoom(size_t(copied - first), middle.size());

    m.Prepare(size_t(copied - first), middle);
    m.Record(size_t(first), m.Range(size_t(first), size_t(copied)), middle, EditKind::Program);
    m.typingRunOpen = false;
    m.Apply(size_t(first), size_t(copied - first), middle);
    m.anchor = m.caret = first + int32_t(middle.size());
    m.Notify();
    m.RaiseChange();
    return count;
}

std::vector<std::u16string_view> TextModel::Pieces() const {
    std::span<const char16_t> before = impl_->text.Before(), after = impl_->text.After();
    return {std::u16string_view(before.data(), before.size()),
            std::u16string_view(after.data(), after.size())};
}

bool TextModel::CanUndo() const {
    return !impl_->undo.empty();
}

void TextModel::Undo() {
    Impl& m = *impl_;
    if (m.undo.empty())
        return;
    // Undoing puts back what each edit removed: take the room for all of it first.
    size_t grow = 0, breaks = 0, maxBreaks = 0;
    for (const UndoEdit& edit : m.undo.back().edits) {
        if (edit.removed.size() > edit.inserted.size())
            grow += edit.removed.size() - edit.inserted.size();
        size_t n = size_t(std::count(edit.removed.begin(), edit.removed.end(), u'\n'));
        breaks += n;
        maxBreaks = std::max(maxBreaks, n);
    }
    m.Prepare(grow, breaks, maxBreaks);
    UndoStep step = std::move(m.undo.back());
    m.undo.pop_back();
    for (auto it = step.edits.rbegin(); it != step.edits.rend(); ++it)
        m.Apply(it->position, it->inserted.size(), it->removed);
    m.anchor = m.Clamp(step.anchor);
    m.caret = m.Clamp(step.caret);
    m.typingRunOpen = false;
    m.Notify();
    m.RaiseChange();
}

int32_t TextModel::LineCount() const {
    return impl_->lines.Count();
}

int32_t TextModel::LineStart(int32_t line) const {
    return impl_->lines.Start(std::clamp(line, 0, LineCount() - 1));
}

int32_t TextModel::LineEnd(int32_t line) const {
    line = std::clamp(line, 0, LineCount() - 1);
    return line + 1 < LineCount() ? impl_->lines.Start(line + 1) - 2 : TextLength();
}

int32_t TextModel::LineFromPosition(int32_t position) const {
    return impl_->lines.LineOf(impl_->Clamp(position));
}

char16_t TextModel::CharAt(int32_t position) const {
    return position >= 0 && position < TextLength() ? impl_->At(size_t(position)) : char16_t(0);
}

std::u16string TextModel::Range(int32_t start, int32_t end) const {
    int32_t a = impl_->Clamp(start);
    int32_t b = impl_->Clamp(end);
    if (a > b)
        std::swap(a, b);
    return impl_->Range(size_t(a), size_t(b));
}

int32_t TextModel::Anchor() const {
    return impl_->anchor;
}
int32_t TextModel::Caret() const {
    return impl_->caret;
}
void TextModel::SetSelection(int32_t anchor, int32_t caret) {
    impl_->Select(anchor, caret);
}
void TextModel::BreakUndoRun() {
    impl_->typingRunOpen = false;
}

} // namespace quillet
