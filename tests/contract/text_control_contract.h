#pragma once
// What every text control of the editor promises the rest of it, as one typed test suite: the
// document model passes it on the host, the Win32 control under Wine.
//
// Instantiate it with a traits type T, one fresh T (and control) per test:
//   T();                                  makes the control and whatever it needs
//   TextContent& Control();
// and then
//   using MyControls = ::testing::Types<MyTraits>;
//   INSTANTIATE_TYPED_TEST_SUITE_P(Mine, TextControlContract, MyControls);

#include "editor/control/text_control.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace quillet::contract {

// Counts Change and keeps the text as it was at the moment of each one.
class ChangeRecorder : public TextControlEvents {
public:
    void OnChange() override {
        ++changes;
        texts.push_back(control ? control->Text() : std::u16string());
    }
    bool OnKeyDown(int32_t, int32_t) override { return false; }
    void OnMouseDown(int16_t, int16_t, int32_t, int32_t) override {}

    TextContent* control = nullptr;
    int changes = 0;
    std::vector<std::u16string> texts;
};

template <class T> class TextControlContract : public ::testing::Test {
protected:
    // Declared first so it outlives the control.
    ChangeRecorder recorder;
    T traits;
    TextContent& control = traits.Control();

    void ListenForChanges() {
        recorder.control = &control;
        control.SetEvents(&recorder);
    }

    void TearDown() override { control.SetEvents(nullptr); }

    void Select(int32_t start, int32_t length) {
        control.SetSelStart(start);
        control.SetSelLength(length);
    }
};

TYPED_TEST_SUITE_P(TextControlContract);

TYPED_TEST_P(TextControlContract, LineBreaksOfEveryKindBecomeCrLfAndCountAsTwoCharacters) {
    TextContent& edit = this->control;
    edit.SetText(u"one\ntwo\rthree\r\nfour");
    EXPECT_EQ(edit.Text(), u"one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(edit.TextLength(), 21);

    this->Select(5, 3);
    EXPECT_EQ(edit.SelText(), u"two");
    this->Select(3, 2);
    EXPECT_EQ(edit.SelText(), u"\r\n");

    // A CR before a CR LF is a line break of its own, never lost or merged.
    edit.SetText(u"x\r\r\ny\n\rz");
    EXPECT_EQ(edit.Text(), u"x\r\n\r\ny\r\n\r\nz");

    edit.SetText(u"ab");
    edit.SetSelStart(1);
    edit.SetSelText(u"\n-\r");
    EXPECT_EQ(edit.Text(), u"a\r\n-\r\nb");
    EXPECT_EQ(edit.SelStart(), 6);
}

TYPED_TEST_P(TextControlContract, SelTextReplacesTheSelectionAndSelectionWritesClampAsAnEditControlDoes) {
    TextContent& edit = this->control;
    edit.SetText(u"Привет, мир");
    this->Select(8, 3);
    EXPECT_EQ(edit.SelText(), u"мир");
    edit.SetSelText(u"свет"); // the caret after what went in
    EXPECT_EQ(edit.Text(), u"Привет, свет");
    EXPECT_EQ(edit.SelStart(), 12);
    EXPECT_EQ(edit.SelLength(), 0);
    edit.SetSelStart(0); // with nothing selected, in at the caret
    edit.SetSelText(u"«");
    EXPECT_EQ(edit.Text(), u"«Привет, свет");
    EXPECT_EQ(edit.SelStart(), 1);
    this->Select(0, 1); // nothing written over a selection deletes it
    edit.SetSelText(u"");
    EXPECT_EQ(edit.Text(), u"Привет, свет");
    EXPECT_TRUE(edit.CanUndo());

    // Writing SelStart moves the caret and clears the selection; both clamp to the text.
    this->Select(1, 3);
    edit.SetSelStart(2);
    EXPECT_EQ(edit.SelLength(), 0);
    edit.SetSelStart(100);
    EXPECT_EQ(edit.SelStart(), 12);
    edit.SetSelStart(-5);
    EXPECT_EQ(edit.SelStart(), 0);
    this->Select(8, 100);
    EXPECT_EQ(edit.SelText(), u"свет");
    this->Select(4, -3);
    EXPECT_EQ(edit.SelStart(), 4);
    EXPECT_EQ(edit.SelLength(), 0);

    // Writing the text puts the caret at the start and empties the undo store.
    this->Select(2, 3);
    edit.SetText(u"new text");
    EXPECT_EQ(edit.Text(), u"new text");
    EXPECT_EQ(edit.SelStart(), 0);
    EXPECT_EQ(edit.SelLength(), 0);
    EXPECT_FALSE(edit.CanUndo());
    edit.SetText(u"");
    EXPECT_EQ(edit.TextLength(), 0);
}

TYPED_TEST_P(TextControlContract, FindSelectsTheMatchFoldingCyrillicAndAMissLeavesTheSelection) {
    TextContent& edit = this->control;
    edit.SetText(u"Ёлка и ЯБЛОКО, ёжик и яблоко Beta");
    EXPECT_EQ(edit.Find(u"яблоко", 0, FindOption::IgnoreCase), 7);
    EXPECT_EQ(edit.SelText(), u"ЯБЛОКО");
    EXPECT_EQ(edit.Find(u"Яблоко", 8, FindOption::IgnoreCase), 22);
    EXPECT_EQ(edit.SelText(), u"яблоко");
    EXPECT_EQ(edit.Find(u"ЁЖИК", 0, FindOption::IgnoreCase), 15);
    EXPECT_EQ(edit.Find(u"ёлка", 0, FindOption::MatchCase), -1);
    EXPECT_EQ(edit.Find(u"ёжик", 0, FindOption::MatchCase), 15);
    EXPECT_EQ(edit.Find(u"Beta", 29, FindOption::MatchCase), 29); // the start itself may match
    EXPECT_EQ(edit.SelLength(), 4);

    // Е and Ё are different letters; a miss, from the length too, leaves the selection alone.
    this->Select(2, 3);
    EXPECT_EQ(edit.Find(u"елка", 0, FindOption::IgnoreCase), -1);
    EXPECT_EQ(edit.Find(u"Ёлка", 1, FindOption::MatchCase), -1);
    EXPECT_EQ(edit.Find(u"a", edit.TextLength(), FindOption::IgnoreCase), -1);
    EXPECT_EQ(edit.Find(u"Beta!", 0, FindOption::IgnoreCase), -1);
    EXPECT_EQ(edit.SelStart(), 2);
    EXPECT_EQ(edit.SelLength(), 3);

    // Line breaks count as two characters in the positions found.
    edit.SetText(u"x\ny\nZ");
    EXPECT_EQ(edit.Find(u"z", 0, FindOption::IgnoreCase), 6);
    edit.SetText(u"");
    EXPECT_EQ(edit.Find(u"a", 0, FindOption::IgnoreCase), -1);
}

TYPED_TEST_P(TextControlContract, ChangeIsRaisedInsideEveryWriteOfTextOrFontAndOnlyThen) {
    TextContent& edit = this->control;
    ChangeRecorder& changes = this->recorder;
    this->ListenForChanges();

    edit.SetText(u"first");
    ASSERT_EQ(changes.changes, 1);
    EXPECT_EQ(changes.texts.back(), u"first"); // the new text is in place when Change comes

    edit.SetSelStart(5);
    edit.SetSelText(u" second");
    ASSERT_EQ(changes.changes, 2);
    EXPECT_EQ(changes.texts.back(), u"first second");

    // Moving the selection and searching change nothing.
    this->Select(0, 3);
    EXPECT_GE(edit.Find(u"second", 0, FindOption::IgnoreCase), 0);
    EXPECT_EQ(edit.Find(u"third", 0, FindOption::IgnoreCase), -1);
    EXPECT_EQ(changes.changes, 2);

    // Each font write, even of the value the font already has.
    edit.SetFontName(u"Arial");
    edit.SetFontSize(14);
    edit.SetFontBold(true);
    edit.SetFontItalic(true);
    edit.SetFontBold(true);
    EXPECT_EQ(changes.changes, 7);
    const FontSpec font = edit.Font();
    EXPECT_EQ(std::tuple(font.name, font.size, font.bold, font.italic), std::tuple(u"Arial", 14, true, true));

    edit.Undo();
    EXPECT_EQ(changes.changes, 8);
    EXPECT_EQ(changes.texts.back(), u"first");
}

TYPED_TEST_P(TextControlContract, ThePiecesHandedOutForSavingAreExactlyTheText) {
    TextContent& edit = this->control;
    auto joined = [&] {
        std::u16string all;
        for (std::u16string_view piece : edit.Pieces())
            all += piece;
        return all;
    };
    EXPECT_EQ(joined(), u"");
    edit.SetText(u"Привет\nмир");
    EXPECT_EQ(joined(), edit.Text());
    // Edits in the middle, at the start and at the end, each moving where the text is split.
    this->Select(6, 2);
    edit.SetSelText(u", 😀 ");
    edit.SetSelStart(0);
    edit.SetSelText(u"«");
    edit.SetSelStart(edit.TextLength());
    edit.SetSelText(u"»\r\n");
    EXPECT_EQ(edit.Text(), u"«Привет, 😀 мир»\r\n");
    EXPECT_EQ(joined(), edit.Text());
}

TYPED_TEST_P(TextControlContract, UndoTakesBackAProgramWriteWithItsSelection) {
    TextContent& edit = this->control;
    edit.SetText(u"one two");
    EXPECT_FALSE(edit.CanUndo());

    this->Select(4, 3);
    edit.SetSelText(u"три");
    edit.SetSelStart(0);
    edit.SetSelText(u"> ");
    EXPECT_EQ(edit.Text(), u"> one три");

    edit.Undo();
    EXPECT_EQ(edit.Text(), u"one три");
    EXPECT_TRUE(edit.CanUndo());

    edit.Undo();
    EXPECT_EQ(edit.Text(), u"one two");
    EXPECT_EQ(edit.SelStart(), 4);
    EXPECT_EQ(edit.SelLength(), 3);
    EXPECT_FALSE(edit.CanUndo());

    // Nothing left to undo: nothing happens.
    edit.Undo();
    EXPECT_EQ(edit.Text(), u"one two");
}

REGISTER_TYPED_TEST_SUITE_P(TextControlContract, LineBreaksOfEveryKindBecomeCrLfAndCountAsTwoCharacters,
                            SelTextReplacesTheSelectionAndSelectionWritesClampAsAnEditControlDoes,
                            FindSelectsTheMatchFoldingCyrillicAndAMissLeavesTheSelection,
                            ChangeIsRaisedInsideEveryWriteOfTextOrFontAndOnlyThen,
                            ThePiecesHandedOutForSavingAreExactlyTheText,
                            UndoTakesBackAProgramWriteWithItsSelection);

} // namespace quillet::contract
