// The view's portable parts: caret motion over the model's text, and the wrapped-row layout.

#include "editor/control/caret_motion.h"
#include "editor/control/line_widths.h"
#include "editor/control/row_layout.h"

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

    // An edit rewraps only what it must, and gives what wrapping the whole line would.
    std::u16string line;
    std::mt19937 words(5);
    while (line.size() < 3000)
        line += std::u16string(1 + words() % 9, u'a') + (words() % 7 ? u" " : u"\t");
    std::vector<int32_t> starts = WrapRows(line, 20, widths);
    for (int round = 0; round < 300; ++round) {
        const int32_t at = int32_t(words() % line.size());
        const int32_t removed = std::min<int32_t>(int32_t(words() % 4), int32_t(line.size()) - at);
        const std::u16string inserted = round % 2 ? u"bb b" : u"";
        line.replace(size_t(at), size_t(removed), inserted);
        auto window = [&](int32_t from, int32_t to) { return line.substr(size_t(from), size_t(to - from)); };
        RewrapRows(starts, at, removed, int32_t(inserted.size()), int32_t(line.size()), window, 20, widths);
        ASSERT_EQ(starts, WrapRows(line, 20, widths)) << round;
    }

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
}

} // namespace
} // namespace quillet
