// The view's portable parts: caret motion over the model's text, the wrapped-row layout and the
// units a screen reader reads by.

#include "editor/control/caret_motion.h"
#include "editor/control/line_widths.h"
#include "editor/control/row_layout.h"
#include "editor/control/text_units.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

bool AsciiWord(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c >= 0x400;
}

TEST(CaretMotion, StepsOverLineBreaksAndSurrogatePairsWholeAndByWords) {
    TextModel text;
    text.SetText(u"ab\r\n😀c, где-то");
    // Every position a step reaches is a character boundary: never between CR and LF or inside
    // the pair, forwards and back.
    std::vector<int32_t> forward{0};
    while (forward.back() < text.TextLength())
        forward.push_back(NextPosition(text, forward.back()));
    EXPECT_EQ(forward, (std::vector<int32_t>{0, 1, 2, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    std::vector<int32_t> back{text.TextLength()};
    while (back.back() > 0)
        back.push_back(PreviousPosition(text, back.back()));
    EXPECT_EQ(std::vector<int32_t>(back.rbegin(), back.rend()), forward);

    EXPECT_EQ(WordRight(text, 0, AsciiWord), 2);  // to the line break
    EXPECT_EQ(WordRight(text, 2, AsciiWord), 4);  // over it as one stop
    EXPECT_EQ(WordRight(text, 8, AsciiWord), 9);  // past the spaces
    EXPECT_EQ(WordRight(text, 9, AsciiWord), 12); // "где", then the hyphen is another class
    EXPECT_EQ(WordLeft(text, 4, AsciiWord), 2);
    EXPECT_EQ(WordLeft(text, 15, AsciiWord), 13);
    WordRange word = WordAt(text, 12, AsciiWord);
    EXPECT_EQ(word.from, 12); // the hyphen alone
    EXPECT_EQ(word.to, 13);
    word = WordAt(text, 0, AsciiWord);
    EXPECT_EQ(word.to, 2); // never past the line's end
    word = WordAt(text, 2, AsciiWord);
    EXPECT_EQ(word.from, 0); // past the line's last character: its last word, not the break

    text.SetText(u"\r\nab\u00A0cd");
    EXPECT_EQ(PreviousPosition(text, 2), 0);
    EXPECT_EQ(WordRight(text, 2, AsciiWord), 5); // a no-break space is a space
}

// Rows of at most four characters within each line, never starting inside a surrogate pair.
class FourPerRow : public RowBreaks {
public:
    explicit FourPerRow(const TextModel& text) : text_(text) {}
    int32_t RowStartAt(int32_t position) override {
        int32_t row = text_.LineStart(text_.LineFromPosition(position));
        for (int32_t next; (next = After(row)) <= position && next < RowEnd(row);)
            row = next;
        return row;
    }
    int32_t NextRowStart(int32_t position) override {
        const int32_t row = RowStartAt(position);
        const int32_t line = text_.LineFromPosition(row);
        const int32_t next = After(row);
        if (next < text_.LineEnd(line))
            return next;
        return line + 1 < text_.LineCount() ? text_.LineStart(line + 1) : text_.TextLength();
    }
    int32_t RowsPerPage() override { return 2; }

private:
    int32_t RowEnd(int32_t row) { return text_.LineEnd(text_.LineFromPosition(row)); }
    int32_t After(int32_t row) {
        int32_t next = std::min(row + 4, RowEnd(row));
        return next < RowEnd(row) && text_.CharAt(next) >= 0xDC00 && text_.CharAt(next) <= 0xDFFF ? next + 1
                                                                                                  : next;
    }
    const TextModel& text_;
};

TEST(TextUnits, CutTheTextWithoutGapsAndMoveOverWholeUnits) {
    TextModel text;
    text.SetText(u"Привет, мир!\r\n😀 hedgehog ёж\r\n\r\nend");
    FourPerRow rows(text);
    TextUnits units(text, rows, AsciiWord);
    const int32_t length = text.TextLength();
    auto span = [&](int32_t position, TextUnit unit) {
        TextSpan s = units.Enclosing(position, unit);
        return text.Range(s.start, s.end);
    };
    EXPECT_EQ(span(2, TextUnit::Word), u"Привет");
    EXPECT_EQ(span(9, TextUnit::Word), u"мир");
    EXPECT_EQ(span(3, TextUnit::Line), u"Прив");
    EXPECT_EQ(span(3, TextUnit::Paragraph), u"Привет, мир!\r\n");
    EXPECT_EQ(span(14, TextUnit::Character), u"😀");
    EXPECT_EQ(span(12, TextUnit::Character), u"\r\n");
    EXPECT_EQ(span(length, TextUnit::Paragraph), u"end"); // the end belongs to the last
    EXPECT_EQ(span(5, TextUnit::Document), text.Text());
    EXPECT_EQ(span(5, TextUnit::Page), u"ет, мир!\r\n"); // two rows from its own

    int32_t moved = 0;
    EXPECT_EQ(units.Step(0, TextUnit::Paragraph, 2, moved), text.LineStart(2));
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(units.Step(0, TextUnit::Paragraph, 9, moved), length);
    EXPECT_EQ(moved, 4); // to each of the three other lines, then to the end
    EXPECT_EQ(units.Step(length, TextUnit::Line, -100, moved), 0);
    EXPECT_EQ(units.Step(3, TextUnit::Word, -1, moved), 0); // into the word's start
    EXPECT_EQ(moved, -1);

    // For every unit and position: the enclosing unit holds the position, the units laid end to
    // end cover the text (pages aside), and no step stops inside CR LF or a pair.
    auto inside = [&](int32_t p) {
        return p > 0 && p < length &&
               ((text.CharAt(p - 1) == u'\r' && text.CharAt(p) == u'\n') ||
                (text.CharAt(p) >= 0xDC00 && text.CharAt(p) <= 0xDFFF));
    };
    for (TextUnit unit : {TextUnit::Character, TextUnit::Word, TextUnit::Line, TextUnit::Paragraph,
                          TextUnit::Page, TextUnit::Document}) {
        int32_t at = 0;
        while (at < length) {
            const int32_t next = units.Step(at, unit, 1, moved);
            ASSERT_GT(next, at);
            ASSERT_FALSE(inside(next)) << int(unit) << " " << next;
            for (int32_t p = at; p < next && unit != TextUnit::Page; ++p)
                if (!inside(p)) {
                    TextSpan s = units.Enclosing(p, unit);
                    ASSERT_EQ(s.start, at) << int(unit) << " " << p;
                    ASSERT_EQ(s.end, next) << int(unit) << " " << p;
                }
            if (unit != TextUnit::Page || next < length) { // the last page may be short
                ASSERT_EQ(units.Step(next, unit, -1, moved), at) << int(unit) << " " << next;
            }
            at = next;
        }
    }
}

// Fixed widths: every character 1 wide, a tab to the next multiple of 4.
class FixedWidths : public CharacterMeasure {
public:
    int Advance(char16_t c, int x) override {
        return c == u'\t' ? 4 - x % 4 : (c >= 0xDC00 && c <= 0xDFFF ? 0 : 1);
    }
};

TEST(RowLayout, WrapsAtSpacesKeepsPairsWholeAndCountsRowsThroughEdits) {
    FixedWidths widths;
    EXPECT_EQ(WrapRows(u"one two three", 8, widths), (std::vector<int32_t>{0, 8}));
    EXPECT_EQ(WrapRows(u"abcdefghij", 4, widths), (std::vector<int32_t>{0, 4, 8})); // a word alone
    EXPECT_EQ(WrapRows(u"abcd😀e", 4, widths), (std::vector<int32_t>{0, 4}));        // the pair whole
    EXPECT_EQ(WrapRows(u"", 4, widths), std::vector<int32_t>{0});
    EXPECT_EQ(WrapRows(u"abc", 0, widths), (std::vector<int32_t>{0, 1, 2})); // narrower than a letter

    // An edit rewraps only what it must, and gives what wrapping the whole line would.
    std::u16string line;
    std::mt19937 words(5);
    while (line.size() < 3000)
        line += std::u16string(1 + words() % 9, u'a') + (words() % 7 ? u" " : u"\t");
    std::vector<int32_t> starts = WrapRows(line, 20, widths);
    int windows = 0; // rows read: a few an edit, not the rest of the line
    for (int round = 0; round < 300; ++round) {
        const int32_t at = int32_t(words() % line.size());
        const int32_t removed = std::min<int32_t>(int32_t(words() % 4), int32_t(line.size()) - at);
        const std::u16string inserted = round % 2 ? u"bb b" : u"";
        line.replace(size_t(at), size_t(removed), inserted);
        auto window = [&](int32_t from, int32_t to) {
            ++windows;
            return line.substr(size_t(from), size_t(to - from));
        };
        RewrapRows(starts, at, removed, int32_t(inserted.size()), int32_t(line.size()), window, 20, widths);
        ASSERT_EQ(starts, WrapRows(line, 20, widths)) << round;
    }
    EXPECT_LT(windows, 300 * 10);

    // Lines of random lengths, wrapped at width 10: the layout's rows must always equal the
    // rows counted afresh, through estimates, idle slices and splices of inserted and removed lines.
    struct Lines : RowCounter {
        std::vector<int32_t> lengths;
        int32_t CountRows(int32_t line) override { return std::max(1, (lengths[size_t(line)] + 9) / 10); }
    } lines;
    std::mt19937 random(3);
    lines.lengths.resize(500);
    for (auto& length : lines.lengths)
        length = int32_t(random() % 45);
    RowLayout layout(lines);
    layout.Wrap(500, [](int32_t) { return 2; });
    auto expectExact = [&] {
        int32_t total = 0;
        for (size_t i = 0; i < lines.lengths.size(); ++i) {
            ASSERT_EQ(layout.RowsOf(int32_t(i)), lines.CountRows(int32_t(i))) << i;
            EXPECT_EQ(layout.PosToRow({int32_t(i), 0}), total);
            EXPECT_EQ(layout.RowToPos(total), (RowPos{int32_t(i), 0}));
            const int32_t last = lines.CountRows(int32_t(i)) - 1;
            EXPECT_EQ(layout.AddRows({int32_t(i), 0}, last), (RowPos{int32_t(i), last}));
            total += lines.CountRows(int32_t(i));
        }
        EXPECT_EQ(layout.RowCount(), total);
        EXPECT_EQ(layout.LineCount(), int32_t(lines.lengths.size()));
    };
    int calls = 0;
    layout.Slice(10, 20, [&] { return ++calls > 0; }); // the visible lines, then a slice
    EXPECT_FALSE(layout.Complete());
    for (int round = 0; round < 200; ++round) {
        int32_t first = int32_t(random() % lines.lengths.size());
        int32_t removed = int32_t(random() % 3), added = int32_t(random() % 3);
        removed = std::min<int32_t>(removed, int32_t(lines.lengths.size()) - first - 1);
        lines.lengths.erase(lines.lengths.begin() + first, lines.lengths.begin() + first + removed + 1);
        for (int32_t i = 0; i <= added; ++i)
            lines.lengths.insert(lines.lengths.begin() + first, int32_t(random() % 45));
        ASSERT_TRUE(layout.Splice(first, first + removed, first + added));
    }
    layout.Slice(0, 0, [] { return false; });
    EXPECT_TRUE(layout.Complete());
    expectExact();
    EXPECT_EQ(layout.AddRows({0, 0}, -5), (RowPos{0, 0}));
    RowPos last{layout.LineCount() - 1, layout.RowsOf(layout.LineCount() - 1) - 1};
    EXPECT_EQ(layout.AddRows({0, 0}, layout.RowCount() + 7), last);
}

// Widths as the view measures: 2 for letters, 1 for spaces, a tab to the next multiple of 8.
class RunWidths : public RunMeasure {
public:
    int MeasureRun(std::u16string_view run, int x) override {
        for (char16_t c : run)
            x += c == u'\t' ? 8 - x % 8 : c == u' ' ? 1 : 2;
        return x;
    }
};

TEST(LineWidths, AnXOrAPositionOnAVeryLongLineAgreesWithMeasuringItWholeThroughEdits) {
    TextModel text;
    std::u16string line;
    while (line.size() < size_t(LineWidths::kChunk) * 5)
        line += u"слово\tи слово ";
    text.SetText(u"короткая\r\n" + line + u"\r\nещё");
    RunWidths widths;
    LineWidths known(text, widths);
    auto whole = [&](int32_t position) {
        return widths.MeasureRun(text.Range(text.LineStart(1), position), 0);
    };
    std::mt19937 random(9);
    for (int round = 0; round < 40; ++round) {
        const int32_t start = text.LineStart(1), end = text.LineEnd(1);
        const int32_t at = start + int32_t(random() % uint32_t(end - start));
        ASSERT_EQ(known.XAt(1, at), whole(at)) << round;
        LineWidths::Point chunk = known.ChunkAtX(1, whole(at));
        EXPECT_LE(chunk.position, at);
        EXPECT_EQ(chunk.x, whole(chunk.position));
        EXPECT_LT(at - chunk.position, LineWidths::kChunk * 2);
        // An edit in the middle of the line, then in the short line before it.
        const int32_t edit = start + int32_t(random() % uint32_t(end - start));
        text.ReplaceRange(edit, edit + int32_t(random() % 3), round % 3 ? u"\t" : u"абв", EditKind::Program);
        known.Edited(edit, 0);
    }
    EXPECT_EQ(known.XAt(0, text.LineEnd(0)), 16);
    EXPECT_TRUE(known.MeasureAhead(1, [] { return false; }));
    EXPECT_EQ(known.EstimatedWidth(1, 2), whole(text.LineEnd(1))); // exact once measured to the end
    text.ReplaceRange(text.LineEnd(1), text.LineEnd(1), u"абв", EditKind::Program);
    known.Edited(text.LineEnd(1) - 3, 0);
    EXPECT_TRUE(known.MeasureAhead(1, [] { return false; }));
    EXPECT_EQ(known.EstimatedWidth(1, 2), whole(text.LineEnd(1)));

    // Partly measured, the rest estimated at the average width: exact for letters all alike.
    text.SetText(u"\r\n" + std::u16string(size_t(LineWidths::kChunk) * 5, u'ж'));
    LineWidths letters(text, widths);
    letters.XAt(1, text.LineStart(1) + LineWidths::kChunk * 2);
    EXPECT_EQ(letters.EstimatedWidth(1, 2), 2 * LineWidths::kChunk * 5);
}

} // namespace
} // namespace quillet
