// The document model on its own: the gap under its text, the line index, typing runs in the undo
// store, case folding beyond Cyrillic, and Find and Replace All against plain references.

#include "editor/control/gap_buffer.h"
#include "editor/control/text_model.h"
#include "tests/unit/model_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quillet {
namespace {

using quillet::testing::LinesAgree;
using quillet::testing::Normalized;

std::u16string Content(size_t size) {
    std::u16string text(size, u'x');
    for (size_t i = 0; i < size; i += 97)
        text[i] = u'ж';
    return text;
}

std::u16string Whole(const GapBuffer<std::u16string>& buffer) {
    std::u16string out;
    buffer.CopyTo(0, buffer.Size(), out);
    return out;
}

// Typing in the middle, key by key, never moves the block: room was made when the text was taken
// over, or the text came with it.
TEST(GapBufferTest, RoomForTypingIsThereFromTheMomentATextIsTakenOver) {
    const size_t size = 200000;
    std::u16string bare = Content(size);
    bare.shrink_to_fit();
    std::u16string roomy;
    roomy.reserve(size + GapBuffer<std::u16string>::Spare(size));
    roomy.append(Content(size));
    const char16_t* roomyBlock = roomy.data();
    for (std::u16string* text : {&bare, &roomy}) {
        std::u16string expected = *text;
        GapBuffer<std::u16string> buffer;
        buffer.Reset(std::move(*text));
        EXPECT_EQ(buffer.Size(), size);
        EXPECT_GE(buffer.GapLength(), GapBuffer<std::u16string>::Spare(size) / 2);
        if (text == &roomy) {
            EXPECT_EQ(buffer.Before().data(), roomyBlock) << "taken over without a copy";
        }
        const char16_t* block = buffer.Before().data();
        for (size_t k = 0; k < 1000; ++k) {
            char16_t c = char16_t(u'а' + k % 32);
            buffer.Insert(size / 2 + k, &c, 1);
            expected.insert(expected.begin() + std::ptrdiff_t(size / 2 + k), c);
        }
        EXPECT_EQ(buffer.Before().data(), block);
        EXPECT_EQ(Whole(buffer), expected);
    }
}

class TextModelTest : public ::testing::Test {
protected:
    TextModel model;

    void Type(std::u16string_view text) {
        for (char16_t c : text)
            model.ReplaceSelection(std::u16string_view(&c, 1), EditKind::Typing);
    }
    void Backspace() { model.ReplaceRange(model.Caret() - 1, model.Caret(), u"", EditKind::Typing); }
};

// The fuzz target's operations, on bytes drawn from a fixed seed.
TEST(TextModelOperations, AnySequenceLeavesTheModelAgreeingWithAPlainString) {
    std::mt19937 random(20240607);
    std::vector<uint8_t> bytes(3000);
    for (int run = 0; run < 60; ++run) {
        for (uint8_t& b : bytes)
            b = uint8_t(random());
        try {
            quillet::testing::PlayOperations(bytes.data(), bytes.size());
        } catch (const std::logic_error& disagreement) {
            FAIL() << "run " << run << ": " << disagreement.what();
        }
    }
}

TEST_F(TextModelTest, TypingJoinsOneUndoStepUntilTheCaretMovesTheRunBreaksOrTheProgramWrites) {
    model.SetText(u"");
    Type(u"abc");
    EXPECT_EQ(model.Text(), u"abc");
    model.Undo();
    EXPECT_EQ(model.Text(), u"");
    EXPECT_FALSE(model.CanUndo());
    for (int32_t i = 0; i < 1000; ++i) // a thousand steps are kept
        model.ReplaceRange(i, i, u"x", EditKind::Program);
    for (int i = 0; i < 1000; ++i)
        model.Undo();
    EXPECT_EQ(model.Text(), u"");

    // Backspace and Enter stay in the run; moving the caret ends it.
    Type(u"ab");
    Backspace();
    Type(u"d\r");
    EXPECT_EQ(model.Text(), u"ad\r\n");
    model.SetSelStart(0);
    Type(u">");
    EXPECT_EQ(model.Text(), u">ad\r\n");
    model.Undo();
    EXPECT_EQ(model.Text(), u"ad\r\n");
    EXPECT_EQ(model.SelStart(), 0);
    model.Undo();
    EXPECT_EQ(model.Text(), u"");

    // Setting the selection it already has is no movement.
    Type(u"xy");
    model.SetSelection(model.Anchor(), model.Caret());
    Type(u"z");
    model.BreakUndoRun();
    Type(u"!");
    model.SetSelText(u"?");
    Type(u"1");
    EXPECT_EQ(model.Text(), u"xyz!?1");
    for (std::u16string_view before : {u"xyz!?", u"xyz!", u"xyz", u""}) {
        model.Undo();
        EXPECT_EQ(model.Text(), before);
    }

    // Typing over a selection, then backspacing past what was typed, is still one step that
    // brings the selection back.
    model.SetText(u"hello world");
    model.SetSelection(6, 11);
    Type(u"W");
    Backspace();
    Backspace();
    EXPECT_EQ(model.Text(), u"hello");
    model.Undo();
    EXPECT_EQ(model.Text(), u"hello world");
    EXPECT_EQ(model.Anchor(), 6);
    EXPECT_EQ(model.Caret(), 11);
    EXPECT_FALSE(model.CanUndo());

    // Typing, then Del of the next character: undone together, the deleted one comes back.
    model.SetText(u"xyz");
    Type(u"ab");
    model.ReplaceRange(2, 3, u"", EditKind::Typing);
    EXPECT_EQ(model.Text(), u"abyz");
    model.Undo();
    EXPECT_EQ(model.Text(), u"xyz");
}

TEST_F(TextModelTest, APositionInsideALineBreakMovesOffIt) {
    model.SetText(u"a\r\nb");
    model.SetSelStart(2);
    EXPECT_EQ(model.SelStart(), 1);

    // A range reaching into a break takes all of it.
    model.SetSelection(0, 2);
    EXPECT_EQ(model.SelText(), u"a\r\n");
    model.SetSelection(2, 0);
    EXPECT_EQ(model.Anchor(), 3);
    EXPECT_EQ(model.Caret(), 0);
    model.SetSelection(2, 4);
    EXPECT_EQ(model.SelText(), u"\r\nb");

    model.ReplaceRange(2, 2, u"x", EditKind::Program);
    EXPECT_EQ(model.Text(), u"ax\r\nb");
    model.ReplaceRange(3, 4, u"", EditKind::Program);
    EXPECT_EQ(model.Text(), u"axb");
    EXPECT_EQ(model.LineCount(), 1);

    // Searching for half a break selects the whole break.
    model.SetText(u"a\r\nb");
    EXPECT_EQ(model.Find(u"\n", 0, FindOption::MatchCase), 2);
    EXPECT_EQ(model.SelText(), u"\r\n");
}

TEST_F(TextModelTest, FindIgnoringCaseFoldsEveryScriptOfTheUnicodeTable) {
    model.SetText(u"ΣΊΣΥΦΟΣ; 5 \u212A; \u017Fun; \U00010400; Stra\u1E9Ee; ÄRGER; \u0130stanbul");
    EXPECT_EQ(model.Find(u"σίσυφος", 0, FindOption::IgnoreCase), 0); // final sigma too
    EXPECT_EQ(model.Find(u"5 k", 0, FindOption::IgnoreCase), 9);     // the Kelvin sign
    EXPECT_EQ(model.Find(u"SUN", 0, FindOption::IgnoreCase), 14);    // long s
    EXPECT_EQ(model.Find(u"\U00010428", 0, FindOption::IgnoreCase), 19);
    EXPECT_EQ(model.SelLength(), 2);
    EXPECT_EQ(model.Find(u"straße", 0, FindOption::IgnoreCase), 23);
    EXPECT_EQ(model.Find(u"ärger", 0, FindOption::IgnoreCase), 31);
    EXPECT_EQ(model.Find(u"\U00010428", 0, FindOption::MatchCase), -1);
    // Dotted capital I folds only under Turkish rules, which plain folding leaves out.
    EXPECT_EQ(model.Find(u"istanbul", 0, FindOption::IgnoreCase), -1);
    // Each fast path: a third unit folding alike, a pair at a long pattern's end, a capital pair.
    model.SetText(u"abcdefg\u212Axxxxxxxx AB\U00010400");
    EXPECT_EQ(model.Find(u"k", 0, FindOption::IgnoreCase), 7);
    EXPECT_EQ(model.Find(u"ab\U00010428", 0, FindOption::IgnoreCase), 17);
    model.SetText(u"x \U00010428");
    EXPECT_EQ(model.Find(u"\U00010400", 0, FindOption::IgnoreCase), 2);
}

TEST_F(TextModelTest, TheViewHearsOfEveryChange) {
    struct Log : TextModelObserver {
        void OnTextChanged(int32_t position, int32_t removed, int32_t inserted) override {
            edits.push_back({position, removed, inserted});
        }
        void OnSelectionChanged() override { ++selections; }
        void OnFontChanged() override { ++fonts; }
        std::vector<std::array<int32_t, 3>> edits;
        int selections = 0, fonts = 0;
    } log;
    model.SetObserver(&log);

    model.SetText(u"abcdef");
    model.SetSelection(3, 5);
    model.ReplaceSelection(u"\nXY", EditKind::Typing);
    ASSERT_EQ(log.edits.size(), 2u);
    EXPECT_EQ(log.edits[0], (std::array<int32_t, 3>{0, 0, 6}));
    EXPECT_EQ(log.edits[1], (std::array<int32_t, 3>{3, 2, 4}));
    EXPECT_EQ(log.selections, 3);

    model.SetFontSize(16);
    EXPECT_EQ(log.fonts, 1);
    model.SetObserver(nullptr);
}

} // namespace
} // namespace quillet
