#pragma once
// What every text control of the editor promises the rest of it, as one typed test suite: the
// document model passes it on the host, the Win32 control under Wine.
//
// Instantiate it with a traits type T, one fresh T (and control) per test:
//   T();                                  makes the control and whatever it needs
//   TextControl& Control();
//   std::u16string TempPath(std::u16string_view name);  a path where no file exists yet
//   void CreateReadOnlyFile(std::u16string_view path, std::string_view bytes);
//   std::string ReadFile(std::u16string_view path);     the file's bytes
// and then
//   using MyControls = ::testing::Types<MyTraits>;
//   INSTANTIATE_TYPED_TEST_SUITE_P(Mine, TextControlContract, MyControls);
//
// Documents are Windows-1251: the Win32 control runs with the Russian ANSI code page.

#include "editor/control/text_control.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace quillet::contract {

// Counts Change and keeps the text as it was at the moment of each one.
class ChangeRecorder : public TextControlEvents {
public:
    void OnChange() override {
        ++changes;
        texts.push_back(control ? control->Text() : std::u16string());
    }
    void OnKeyDown(int16_t&, int16_t&) override {}
    void OnMouseDown(int16_t, int16_t, int32_t, int32_t) override {}

    TextControl* control = nullptr;
    int changes = 0;
    std::vector<std::u16string> texts;
};

template <class T> class TextControlContract : public ::testing::Test {
protected:
    // Declared first so it outlives the control.
    ChangeRecorder recorder;
    T traits;
    TextControl& control = traits.Control();

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
    TextControl& rich = this->control;
    rich.SetText(u"one\ntwo\rthree\r\nfour");
    EXPECT_EQ(rich.Text(), u"one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(rich.TextLength(), 21);

    this->Select(5, 3);
    EXPECT_EQ(rich.SelText(), u"two");
    this->Select(3, 2);
    EXPECT_EQ(rich.SelText(), u"\r\n");

    // A CR before a CR LF is a line break of its own, never lost or merged.
    rich.SetText(u"x\r\r\ny\n\rz");
    EXPECT_EQ(rich.Text(), u"x\r\n\r\ny\r\n\r\nz");

    rich.SetText(u"ab");
    rich.SetSelStart(1);
    rich.SetSelText(u"\n-\r");
    EXPECT_EQ(rich.Text(), u"a\r\n-\r\nb");
    EXPECT_EQ(rich.SelStart(), 6);
}

TYPED_TEST_P(TextControlContract, WritingTextPutsTheCaretAtZeroAndEmptiesTheUndoStore) {
    TextControl& rich = this->control;
    rich.SetText(u"hello");
    rich.SetSelStart(5);
    rich.SetSelText(u" world");
    EXPECT_TRUE(rich.CanUndo());
    EXPECT_EQ(rich.SelStart(), 11);

    this->Select(2, 3);
    rich.SetText(u"new text");
    EXPECT_EQ(rich.Text(), u"new text");
    EXPECT_EQ(rich.SelStart(), 0);
    EXPECT_EQ(rich.SelLength(), 0);
    EXPECT_FALSE(rich.CanUndo());

    rich.SetText(u"");
    EXPECT_EQ(rich.TextLength(), 0);
    EXPECT_EQ(rich.Text(), u"");
}

TYPED_TEST_P(TextControlContract, SelTextReadsAndReplacesTheSelectionWithTheCaretAfterTheInsertion) {
    TextControl& rich = this->control;
    rich.SetText(u"Привет, мир");
    this->Select(8, 3);
    EXPECT_EQ(rich.SelText(), u"мир");

    rich.SetSelText(u"свет");
    EXPECT_EQ(rich.Text(), u"Привет, свет");
    EXPECT_EQ(rich.SelStart(), 12);
    EXPECT_EQ(rich.SelLength(), 0);
    EXPECT_EQ(rich.SelText(), u"");

    // With nothing selected the text goes in at the caret.
    rich.SetSelStart(0);
    rich.SetSelText(u"«");
    EXPECT_EQ(rich.Text(), u"«Привет, свет");
    EXPECT_EQ(rich.SelStart(), 1);

    // Writing nothing over a selection deletes it.
    this->Select(0, 1);
    rich.SetSelText(u"");
    EXPECT_EQ(rich.Text(), u"Привет, свет");
    EXPECT_EQ(rich.SelStart(), 0);
}

TYPED_TEST_P(TextControlContract, SelectionWritesClearOrClampAsAnEditControlDoes) {
    TextControl& rich = this->control;
    rich.SetText(u"abcdef");
    this->Select(1, 3);
    EXPECT_EQ(rich.SelText(), u"bcd");

    // Writing SelStart moves the caret and clears the selection.
    rich.SetSelStart(2);
    EXPECT_EQ(rich.SelStart(), 2);
    EXPECT_EQ(rich.SelLength(), 0);

    rich.SetSelStart(100);
    EXPECT_EQ(rich.SelStart(), 6);
    rich.SetSelStart(-5);
    EXPECT_EQ(rich.SelStart(), 0);

    this->Select(4, 100);
    EXPECT_EQ(rich.SelStart(), 4);
    EXPECT_EQ(rich.SelLength(), 2);
    EXPECT_EQ(rich.SelText(), u"ef");

    this->Select(4, -3);
    EXPECT_EQ(rich.SelStart(), 4);
    EXPECT_EQ(rich.SelLength(), 0);
}

TYPED_TEST_P(TextControlContract, FindMatchesLetterCaseOnlyWithOptionFourAndSelectsTheMatch) {
    TextControl& rich = this->control;
    rich.SetText(u"Alpha beta ALPHA Beta");
    EXPECT_EQ(rich.Find(u"alpha", 0, kFindIgnoreCase), 0);
    EXPECT_EQ(rich.SelStart(), 0);
    EXPECT_EQ(rich.SelLength(), 5);

    EXPECT_EQ(rich.Find(u"alpha", 1, kFindIgnoreCase), 11);
    EXPECT_EQ(rich.SelStart(), 11);
    EXPECT_EQ(rich.SelText(), u"ALPHA");

    EXPECT_EQ(rich.Find(u"alpha", 0, kFindMatchCase), -1);
    EXPECT_EQ(rich.Find(u"ALPHA", 0, kFindMatchCase), 11);
    EXPECT_EQ(rich.Find(u"Beta", 0, kFindMatchCase), 17);
    EXPECT_EQ(rich.Find(u"a b", 0, kFindMatchCase), 4);
    // The start itself may be the match.
    EXPECT_EQ(rich.Find(u"Beta", 17, kFindIgnoreCase), 17);

    // Line breaks count as two characters in the positions found.
    rich.SetText(u"x\ny\nZ");
    EXPECT_EQ(rich.Find(u"z", 0, kFindIgnoreCase), 6);
}

TYPED_TEST_P(TextControlContract, FindIgnoringCaseFoldsCyrillicLettersIncludingYo) {
    TextControl& rich = this->control;
    rich.SetText(u"Ёлка и ЯБЛОКО, ёжик и яблоко");
    EXPECT_EQ(rich.Find(u"ёлка", 0, kFindIgnoreCase), 0);
    EXPECT_EQ(rich.Find(u"ЁЖИК", 0, kFindIgnoreCase), 15);
    EXPECT_EQ(rich.Find(u"яблоко", 0, kFindIgnoreCase), 7);
    EXPECT_EQ(rich.SelText(), u"ЯБЛОКО");
    EXPECT_EQ(rich.Find(u"Яблоко", 8, kFindIgnoreCase), 22);
    EXPECT_EQ(rich.SelText(), u"яблоко");

    EXPECT_EQ(rich.Find(u"ёлка", 0, kFindMatchCase), -1);
    EXPECT_EQ(rich.Find(u"ёжик", 0, kFindMatchCase), 15);
    // Е and Ё are different letters, whatever the case.
    EXPECT_EQ(rich.Find(u"елка", 0, kFindIgnoreCase), -1);
}

TYPED_TEST_P(TextControlContract, AFailedSearchLeavesTheSelectionAlone) {
    TextControl& rich = this->control;
    rich.SetText(u"some text here");
    this->Select(2, 3);

    EXPECT_EQ(rich.Find(u"absent", 0, kFindIgnoreCase), -1);
    EXPECT_EQ(rich.Find(u"some", 1, kFindMatchCase), -1);
    // Starting at the length finds nothing, even a pattern that ends there.
    EXPECT_EQ(rich.Find(u"e", rich.TextLength(), kFindIgnoreCase), -1);
    EXPECT_EQ(rich.Find(u"here!", 0, kFindIgnoreCase), -1);
    EXPECT_EQ(rich.SelStart(), 2);
    EXPECT_EQ(rich.SelLength(), 3);

    rich.SetText(u"");
    EXPECT_EQ(rich.Find(u"a", 0, kFindIgnoreCase), -1);
    EXPECT_EQ(rich.SelStart(), 0);
}

TYPED_TEST_P(TextControlContract, ChangeIsRaisedInsideEveryWriteOfTextOrFontAndOnlyThen) {
    TextControl& rich = this->control;
    ChangeRecorder& changes = this->recorder;
    this->ListenForChanges();

    rich.SetText(u"first");
    ASSERT_EQ(changes.changes, 1);
    EXPECT_EQ(changes.texts.back(), u"first"); // the new text is in place when Change comes

    rich.SetSelStart(5);
    rich.SetSelText(u" second");
    ASSERT_EQ(changes.changes, 2);
    EXPECT_EQ(changes.texts.back(), u"first second");

    // Moving the selection and searching change nothing.
    this->Select(0, 3);
    EXPECT_GE(rich.Find(u"second", 0, kFindIgnoreCase), 0);
    EXPECT_EQ(rich.Find(u"third", 0, kFindIgnoreCase), -1);
    EXPECT_EQ(changes.changes, 2);

    rich.SetFontName(u"Arial");
    EXPECT_EQ(changes.changes, 3);
    rich.SetFontSize(14);
    EXPECT_EQ(changes.changes, 4);
    rich.SetFontBold(true);
    EXPECT_EQ(changes.changes, 5);
    rich.SetFontItalic(true);
    EXPECT_EQ(changes.changes, 6);
    // Writing the value the font already has is a write too.
    rich.SetFontBold(true);
    EXPECT_EQ(changes.changes, 7);

    FontSpec font = rich.Font();
    EXPECT_EQ(font.name, u"Arial");
    EXPECT_EQ(font.size, 14);
    EXPECT_TRUE(font.bold);
    EXPECT_TRUE(font.italic);

    rich.Undo();
    EXPECT_EQ(changes.changes, 8);
    EXPECT_EQ(changes.texts.back(), u"first");
}

TYPED_TEST_P(TextControlContract, SaveFileWritesWindows1251WithCrLfAndNothingAdded) {
    TextControl& rich = this->control;
    std::u16string path = this->traits.TempPath(u"saved.txt");

    rich.SetText(u"Привет\nмир\r");
    ASSERT_EQ(rich.SaveFile(path), kSaveOk);
    EXPECT_EQ(this->traits.ReadFile(path), "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0\r\n");

    // An existing file is replaced whole.
    rich.SetText(u"Ёж");
    ASSERT_EQ(rich.SaveFile(path), kSaveOk);
    EXPECT_EQ(this->traits.ReadFile(path), "\xA8\xE6");

    rich.SetText(u"");
    ASSERT_EQ(rich.SaveFile(path), kSaveOk);
    EXPECT_EQ(this->traits.ReadFile(path), "");
}

TYPED_TEST_P(TextControlContract, SaveFileReportsSeventyFiveForAReadOnlyFileAndLeavesIt) {
    TextControl& rich = this->control;
    std::u16string path = this->traits.TempPath(u"locked.txt");
    this->traits.CreateReadOnlyFile(path, "old");

    rich.SetText(u"new");
    EXPECT_EQ(rich.SaveFile(path), kSaveWriteProtected);
    EXPECT_EQ(this->traits.ReadFile(path), "old");
    EXPECT_EQ(rich.Text(), u"new");
}

TYPED_TEST_P(TextControlContract, UndoTakesBackAProgramWriteWithItsSelection) {
    TextControl& rich = this->control;
    rich.SetText(u"one two");
    EXPECT_FALSE(rich.CanUndo());

    this->Select(4, 3);
    rich.SetSelText(u"три");
    rich.SetSelStart(0);
    rich.SetSelText(u"> ");
    EXPECT_EQ(rich.Text(), u"> one три");

    rich.Undo();
    EXPECT_EQ(rich.Text(), u"one три");
    EXPECT_TRUE(rich.CanUndo());

    rich.Undo();
    EXPECT_EQ(rich.Text(), u"one two");
    EXPECT_EQ(rich.SelStart(), 4);
    EXPECT_EQ(rich.SelLength(), 3);
    EXPECT_FALSE(rich.CanUndo());

    // Nothing left to undo: nothing happens.
    rich.Undo();
    EXPECT_EQ(rich.Text(), u"one two");
}

REGISTER_TYPED_TEST_SUITE_P(
    TextControlContract, LineBreaksOfEveryKindBecomeCrLfAndCountAsTwoCharacters,
    WritingTextPutsTheCaretAtZeroAndEmptiesTheUndoStore,
    SelTextReadsAndReplacesTheSelectionWithTheCaretAfterTheInsertion,
    SelectionWritesClearOrClampAsAnEditControlDoes, FindMatchesLetterCaseOnlyWithOptionFourAndSelectsTheMatch,
    FindIgnoringCaseFoldsCyrillicLettersIncludingYo, AFailedSearchLeavesTheSelectionAlone,
    ChangeIsRaisedInsideEveryWriteOfTextOrFontAndOnlyThen, SaveFileWritesWindows1251WithCrLfAndNothingAdded,
    SaveFileReportsSeventyFiveForAReadOnlyFileAndLeavesIt, UndoTakesBackAProgramWriteWithItsSelection);

} // namespace quillet::contract
