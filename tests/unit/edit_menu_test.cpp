#include "editor/edit/edit_menu.h"

#include "edit_fixture.h"
#include "editor/app/commands.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing::EditFixture;

constexpr char16_t kRussianCaption[] = u"Раскладка клавиатуры русская";
constexpr char16_t kEnglishCaption[] = u"Раскладка клавиатуры английская";
constexpr char16_t kUnknownCaption[] = u"Раскладка клавиатуры неизвестная";

// Whether the key rule took the key from the control.
bool Press(EditFixture& f, int32_t key, int32_t shift) {
    return OnTextKeyDown(f.editor, key, shift);
}

TEST(EditMenuOpening, EnablesByTheSelectionAndUndoAllowedOnlyWhenItOpens) {
    EditFixture f;
    f.SetText(u"один два");
    f.window.SetMenuEnabled(MenuItem::Paste, false); // only the rule's four are touched

    OnEditMenuOpening(f.editor);
    for (MenuItem item : {MenuItem::Cut, MenuItem::Copy, MenuItem::Delete, MenuItem::Undo})
        EXPECT_FALSE(f.window.MenuEnabled(item));
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::Paste));
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::SelectAll));
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::Find));

    f.control.Select(0, 4);
    f.editor.doc.undoAllowed = true;
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::Copy)); // not recomputed until it opens
    OnEditMenuOpening(f.editor);
    for (MenuItem item : {MenuItem::Cut, MenuItem::Copy, MenuItem::Delete, MenuItem::Undo})
        EXPECT_TRUE(f.window.MenuEnabled(item));
}

TEST(CopyCommand, UnderTheRussianLayoutWritesAtOnceWithoutSwitching) {
    EditFixture f; // Russian active
    f.SetText(u"Привет, мир");
    f.control.Select(0, 6);
    OnCopy(f.editor);
    EXPECT_EQ(f.clipboard.text, u"Привет");
    EXPECT_EQ(f.clipboard.writes, 1);
    EXPECT_EQ(f.layouts.switches, 0);
    EXPECT_EQ(f.window.pumps, 0);
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), u"Раскладка клавиатуры"); // as created
    EXPECT_EQ(f.control.Text(), u"Привет, мир");
}

TEST(CopyCommand, UnderEnglishWritesWhileRussianIsActiveAndSwitchesBack) {
    EditFixture f;
    f.layouts.active = 1; // English of Russian and English
    f.SetText(u"text");
    f.control.Select(0, 4);
    std::string layoutAtWrite;
    std::u16string captionAtWrite;
    f.clipboard.onSet = [&] {
        layoutAtWrite = f.layouts.ActiveLayoutName();
        captionAtWrite = f.window.MenuCaption(MenuItem::KeyboardLayout);
    };

    OnCopy(f.editor);

    EXPECT_EQ(f.clipboard.text, u"text");
    EXPECT_EQ(layoutAtWrite, "00000419");
    EXPECT_EQ(captionAtWrite, kRussianCaption);
    EXPECT_EQ(f.window.pumps, 0); // Ctrl+C runs this from the key handler: nothing else is let through
    EXPECT_EQ(f.layouts.switches, 2);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kEnglishCaption);
}

TEST(CopyCommand, WithThreeLayoutsTheUserIsLeftInExactlyTheLayoutTheyHad) {
    EditFixture f;
    f.layouts = fakes::FakeKeyboardLayouts({fakes::kEnglishUs, fakes::kRussian, fakes::kUkrainian}, 0);
    f.SetText(u"abc");
    f.control.Select(0, 3);
    std::string layoutAtWrite;
    f.clipboard.onSet = [&] { layoutAtWrite = f.layouts.ActiveLayoutName(); };

    OnCopy(f.editor);
    EXPECT_EQ(layoutAtWrite, "00000419");
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kEnglishCaption);

    // From the Ukrainian layout the write happens under the next one, English, and the user is
    // back in Ukrainian afterwards.
    f.layouts.active = 2;
    OnCopy(f.editor);
    EXPECT_EQ(layoutAtWrite, "00000409");
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000422");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kUnknownCaption);
}

TEST(CopyCommand, WhenSwitchingFailsTheTextIsStillWrittenAndTheCaptionSaysUnknown) {
    EditFixture f;
    f.layouts.active = 1;
    f.layouts.failActivate = true;
    f.SetText(u"abc");
    f.control.Select(1, 1);
    OnCopy(f.editor);
    EXPECT_EQ(f.clipboard.text, u"b");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kUnknownCaption);
}

TEST(CopyCommand, WithNothingSelectedLeavesAnEmptyTextOnTheClipboard) {
    EditFixture f;
    f.clipboard.text = u"old";
    f.SetText(u"abc");
    OnCopy(f.editor);
    ASSERT_TRUE(f.clipboard.text.has_value());
    EXPECT_EQ(*f.clipboard.text, u"");
}

TEST(CutCommand, CopiesThroughTheLayoutRuleThenRemovesTheSelection) {
    EditFixture f;
    f.layouts.active = 1;
    f.SetText(u"один два");
    f.control.Select(4, 4);
    OnCut(f.editor);
    EXPECT_EQ(f.clipboard.text, u" два");
    EXPECT_EQ(f.control.Text(), u"один");
    EXPECT_TRUE(f.editor.doc.modified);
    EXPECT_TRUE(f.editor.doc.undoAllowed);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kEnglishCaption);
}

TEST(CutCommand, KeepsTheTextWhenTheClipboardCannotBeWritten) {
    EditFixture f;
    f.clipboard.unavailable = true;
    f.SetText(u"важное");
    f.control.Select(0, 6);
    OnCut(f.editor);
    EXPECT_EQ(f.control.Text(), u"важное");
    EXPECT_EQ(f.control.SelLength(), 6);
    EXPECT_FALSE(f.editor.doc.modified);
}

TEST(PasteCommand, InsertsThePlainTextAndReappliesTheDocumentFont) {
    EditFixture f;
    f.editor.doc.font.name = u"Consolas";
    f.editor.doc.font.size = 14;
    f.control.SetFont({u"Arial", 20, true, true}); // as if the control had drifted from the document font
    f.SetText(u"один два три");
    f.control.Select(5, 3);
    f.clipboard.text = u"2";

    OnPaste(f.editor);

    EXPECT_EQ(f.control.Text(), u"один 2 три");
    EXPECT_EQ(f.control.SelStart(), 6);
    EXPECT_EQ(f.control.Font().name, u"Consolas");
    EXPECT_EQ(f.control.Font().size, 14);
    EXPECT_FALSE(f.control.Font().bold);
    EXPECT_FALSE(f.control.Font().italic);
    EXPECT_TRUE(f.editor.doc.modified);
    EXPECT_TRUE(f.editor.doc.undoAllowed);
    EXPECT_FALSE(f.editor.doc.changingControl);
    EXPECT_EQ(f.window.pumps, 0); // a key handler never lets other messages through
    // One Change from the insert, then four font writes the change handler ignores.
    EXPECT_EQ(f.tracker.statesSeen, (std::vector<bool>{false, true, true, true, true}));
}

TEST(PasteCommand, WithNoTextOnTheClipboardDeletesTheSelectionAndStillAppliesTheFont) {
    EditFixture f;
    f.SetText(u"abc");
    f.control.Select(1, 1);
    OnPaste(f.editor);
    EXPECT_EQ(f.control.Text(), u"ac");
    EXPECT_EQ(f.control.Font().name, u"Courier New");
}

TEST(PasteCommand, AClipboardThatCannotBeReadLeavesTheSelectionAndTheFontAlone) {
    EditFixture f;
    f.clipboard.unavailable = true;
    f.SetText(u"abc");
    f.control.Select(1, 1);
    f.control.SetFont({u"Arial", 20, false, false});
    OnPaste(f.editor);
    EXPECT_EQ(f.control.Text(), u"abc");
    EXPECT_EQ(f.control.SelLength(), 1);
    EXPECT_EQ(f.control.Font().name, u"Arial");
    EXPECT_FALSE(f.editor.doc.modified);
}

TEST(DeleteAndSelectAll, WorkOnTheSelectionAndCountLineBreaksAsTwo) {
    EditFixture f;
    f.SetText(u"ab\r\ncd");
    OnDelete(f.editor); // nothing selected: the text stays
    EXPECT_EQ(f.control.Text(), u"ab\r\ncd");

    OnSelectAll(f.editor);
    EXPECT_EQ(f.control.SelStart(), 0);
    EXPECT_EQ(f.control.SelLength(), 6);
    OnDelete(f.editor);
    EXPECT_EQ(f.control.Text(), u"");

    OnSelectAll(f.editor);
    EXPECT_EQ(f.control.SelStart(), 0);
    EXPECT_EQ(f.control.SelLength(), 0);
}

TEST(KeyRule, CtrlZIsSwallowedUntilThereIsSomethingOfTheUsersToUndo) {
    EditFixture f;
    EXPECT_TRUE(Press(f, kKeyZ, kCtrlMask));
    f.editor.doc.undoAllowed = true;
    EXPECT_FALSE(Press(f, kKeyZ, kCtrlMask));
    EXPECT_EQ(f.control.undos, 0); // the control undoes by itself
}

TEST(KeyRule, ComparesTheWholeModifierSet) {
    EditFixture f;
    f.clipboard.text = u"x";
    EXPECT_FALSE(Press(f, kKeyZ, kCtrlMask | kShiftMask));
    EXPECT_FALSE(Press(f, kKeyV, kCtrlMask | kAltMask));
    EXPECT_FALSE(Press(f, kKeyV, kCtrlMask | kShiftMask));
    EXPECT_FALSE(Press(f, kKeyF10, 0));
    EXPECT_FALSE(Press(f, kKeyF10, kShiftMask | kCtrlMask));
    EXPECT_EQ(f.window.editMenuPopups, 0);
    EXPECT_EQ(f.control.Text(), u"");
}

TEST(KeyRule, CtrlVRunsTheProgramsPlainTextPaste) {
    EditFixture f;
    f.clipboard.text = u"вставка";
    EXPECT_TRUE(Press(f, kKeyV, kCtrlMask));
    EXPECT_EQ(f.control.Text(), u"вставка");
    EXPECT_EQ(f.control.Font().name, u"Courier New");
}

TEST(KeyRule, ShiftF10OpensTheEditMenuWithoutSwallowingTheKey) {
    EditFixture f;
    EXPECT_FALSE(Press(f, kKeyF10, kShiftMask));
    EXPECT_EQ(f.window.editMenuPopups, 1);
}

TEST(KeyRule, DelDeletesTheSelectionOrLeavesTheNextCharacterToTheControl) {
    EditFixture f;
    f.SetText(u"abcd");
    f.control.SetSelStart(1);
    EXPECT_FALSE(Press(f, kKeyDelete, 0));
    EXPECT_EQ(f.control.Text(), u"abcd");

    f.control.Select(1, 2);
    EXPECT_TRUE(Press(f, kKeyDelete, 0));
    EXPECT_EQ(f.control.Text(), u"ad");

    f.control.Select(0, 1);
    EXPECT_FALSE(Press(f, kKeyDelete, kShiftMask)); // Shift+Del is the control's cut
    EXPECT_EQ(f.control.Text(), u"ad");
}

TEST(KeyRule, CopyAndCutShortcutsFollowTheSelectionNowNotTheMenuStates) {
    EditFixture f;
    f.SetText(u"один два");
    OnEditMenuOpening(f.editor); // opened with nothing selected: Copy and Cut disabled
    ASSERT_FALSE(f.window.MenuEnabled(MenuItem::Copy));

    f.control.Select(0, 4);
    EXPECT_TRUE(Press(f, kKeyC, kCtrlMask));
    EXPECT_EQ(f.clipboard.text, u"один");

    f.control.Select(4, 4);
    EXPECT_TRUE(Press(f, kKeyX, kCtrlMask));
    EXPECT_EQ(f.clipboard.text, u" два");
    EXPECT_EQ(f.control.Text(), u"один");

    // Opened with a selection, then the selection is gone: the clipboard is left alone.
    f.control.Select(0, 2);
    OnEditMenuOpening(f.editor);
    f.control.SetSelStart(4);
    EXPECT_TRUE(Press(f, kKeyC, kCtrlMask));
    EXPECT_TRUE(Press(f, kKeyX, kCtrlMask));
    EXPECT_EQ(f.clipboard.text, u" два");
    EXPECT_EQ(f.control.Text(), u"один");
    EXPECT_EQ(f.clipboard.writes, 2);
}

TEST(KeyRule, CtrlASelectsEverything) {
    EditFixture f;
    f.SetText(u"ab\r\nc");
    EXPECT_TRUE(Press(f, kKeyA, kCtrlMask));
    EXPECT_EQ(f.control.SelLength(), 5);
}

TEST(KeyRule, OtherKeysGoToTheControlUnchanged) {
    EditFixture f;
    for (auto [key, shift] :
         {std::pair<int16_t, int16_t>{45, kShiftMask}, {45, kCtrlMask}, {65, 0}, {90, 0}}) {
        EXPECT_FALSE(Press(f, key, shift));
    }
    EXPECT_EQ(f.clipboard.writes, 0);
}

TEST(MouseRule, OnlyTheRightButtonOpensTheEditMenu) {
    EditFixture f;
    OnTextMouseDown(f.editor, kLeftButton, 0, 100, 100);
    OnTextMouseDown(f.editor, kMiddleButton, 0, 100, 100);
    EXPECT_EQ(f.window.editMenuPopups, 0);
    OnTextMouseDown(f.editor, kRightButton, kShiftMask, 0, 0);
    EXPECT_EQ(f.window.editMenuPopups, 1);
}

TEST(MainWindowWiring, RoutesTheEditMenuItsOpeningAndTheControlsKeysToTheEditCommands) {
    fakes::EditorWithFakes f; // Russian active
    f.control.SetText(u"abc");
    f.ed.doc.modified = f.ed.doc.undoAllowed = false;

    OnMenuOpening(f.ed, MenuItem::EditMenu);
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::Copy));
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::Undo));

    EXPECT_TRUE(f.textEvents.OnKeyDown(kKeyZ, kCtrlMask));

    f.control.SetSelStart(0);
    f.control.SetSelLength(3);
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::Cut));
    EXPECT_EQ(f.clipboard.text, u"abc");
    EXPECT_EQ(f.control.Text(), u"");
    EXPECT_TRUE(f.ed.doc.undoAllowed);

    EXPECT_TRUE(f.textEvents.OnKeyDown(kKeyV, kCtrlMask));
    EXPECT_EQ(f.control.Text(), u"abc");

    f.textEvents.OnMouseDown(kRightButton, 0, 10, 10);
    EXPECT_EQ(f.window.editMenuPopups, 1);

    f.fontDialog.answer = FontSpec{u"Arial", 18, false, false};
    f.ed.doc.modified = false;
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::Font));
    EXPECT_EQ(f.control.Font().size, 18);
    EXPECT_FALSE(f.ed.doc.modified);

    for (MenuItem item : {MenuItem::Undo, MenuItem::Cut, MenuItem::Copy, MenuItem::Paste, MenuItem::Delete,
                          MenuItem::SelectAll, MenuItem::Font})
        EXPECT_NE(CommandFor(item), nullptr);
}

} // namespace
} // namespace quillet
