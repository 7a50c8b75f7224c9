#include "editor/edit/edit_menu.h"

#include "edit_fixture.h"
#include "editor/core/commands.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing::EditFixture;

constexpr char16_t kRussianCaption[] = u"Раскладка клавиатуры русская";
constexpr char16_t kEnglishCaption[] = u"Раскладка клавиатуры английская";
constexpr char16_t kUnknownCaption[] = u"Раскладка клавиатуры неизвестная";

struct KeyResult {
    int16_t key;
    int16_t shift;
};

KeyResult Press(EditFixture& f, int16_t key, int16_t shift) {
    frmForma_Rich_KeyDown(f.editor, key, shift);
    return {key, shift};
}

bool Swallowed(KeyResult r) {
    return r.key == 0 && r.shift == 0;
}

TEST(EditMenuOpening, EnablesByTheSelectionAndUndoAllowedOnlyWhenItOpens) {
    EditFixture f;
    f.SetText(u"один два");
    f.window.SetMenuEnabled(MenuItem::mEditPaste, false); // only the rule's four are touched

    frmForma_mEdit_Click(f.editor);
    for (MenuItem item :
         {MenuItem::mEditCut, MenuItem::mEditCopy, MenuItem::mEditDelete, MenuItem::mEditUndo})
        EXPECT_FALSE(f.window.MenuEnabled(item));
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::mEditPaste));
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::mEditSelectAll));
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::mEditFind));

    f.rich.Select(0, 4);
    f.editor.doc.UndoAllowed = 1;
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::mEditCopy)); // not recomputed until it opens
    frmForma_mEdit_Click(f.editor);
    for (MenuItem item :
         {MenuItem::mEditCut, MenuItem::mEditCopy, MenuItem::mEditDelete, MenuItem::mEditUndo})
        EXPECT_TRUE(f.window.MenuEnabled(item));
}

TEST(UndoCommand, SendsTheControlItsUndoMessage) {
    EditFixture f;
    frmForma_mEditUndo_Click(f.editor);
    EXPECT_EQ(f.rich.undos, 1);
    UndoText(f.editor, 200); // only the undo message means undo
    EXPECT_EQ(f.rich.undos, 1);
}

TEST(CopyCommand, UnderTheRussianLayoutWritesAtOnceWithoutSwitching) {
    EditFixture f; // Russian active
    f.SetText(u"Привет, мир");
    f.rich.Select(0, 6);
    frmForma_mEditCopy_Click(f.editor);
    EXPECT_EQ(f.clipboard.text, u"Привет");
    EXPECT_EQ(f.clipboard.writes, 1);
    EXPECT_EQ(f.layouts.switches, 0);
    EXPECT_EQ(f.window.pumps, 0);
    EXPECT_EQ(f.window.MenuCaption(MenuItem::mFormatKlava), u"Раскладка клавиатуры"); // as created
    EXPECT_EQ(f.rich.Text(), u"Привет, мир");
}

TEST(CopyCommand, UnderEnglishWritesWhileRussianIsActiveAndSwitchesBack) {
    EditFixture f;
    f.layouts.active = 1; // English of Russian and English
    f.SetText(u"text");
    f.rich.Select(0, 4);
    int pumpsBeforeWrite = -1;
    std::string layoutAtWrite;
    std::u16string captionAtWrite;
    f.clipboard.onSet = [&] {
        pumpsBeforeWrite = f.window.pumps;
        layoutAtWrite = f.layouts.ActiveLayoutName();
        captionAtWrite = f.window.MenuCaption(MenuItem::mFormatKlava);
    };

    frmForma_mEditCopy_Click(f.editor);

    EXPECT_EQ(f.clipboard.text, u"text");
    EXPECT_EQ(layoutAtWrite, "00000419");
    EXPECT_EQ(captionAtWrite, kRussianCaption);
    EXPECT_EQ(pumpsBeforeWrite, 1);
    EXPECT_EQ(f.layouts.switches, 2);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::mFormatKlava), kEnglishCaption);
}

TEST(CopyCommand, WithThreeLayoutsTheUserIsLeftInExactlyTheLayoutTheyHad) {
    EditFixture f;
    f.layouts = fakes::FakeKeyboardLayouts({fakes::kEnglishUs, fakes::kRussian, fakes::kUkrainian}, 0);
    f.SetText(u"abc");
    f.rich.Select(0, 3);
    std::string layoutAtWrite;
    f.clipboard.onSet = [&] { layoutAtWrite = f.layouts.ActiveLayoutName(); };

    frmForma_mEditCopy_Click(f.editor);
    EXPECT_EQ(layoutAtWrite, "00000419");
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::mFormatKlava), kEnglishCaption);

    // From the Ukrainian layout the write happens under the next one, English, and the user is
    // back in Ukrainian afterwards.
    f.layouts.active = 2;
    frmForma_mEditCopy_Click(f.editor);
    EXPECT_EQ(layoutAtWrite, "00000409");
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000422");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::mFormatKlava), kUnknownCaption);
}

TEST(CopyCommand, WhenSwitchingFailsTheTextIsStillWrittenAndTheCaptionSaysUnknown) {
    EditFixture f;
    f.layouts.active = 1;
    f.layouts.failActivate = true;
    f.SetText(u"abc");
    f.rich.Select(1, 1);
    frmForma_mEditCopy_Click(f.editor);
    EXPECT_EQ(f.clipboard.text, u"b");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::mFormatKlava), kUnknownCaption);
}

TEST(CopyCommand, WithNothingSelectedLeavesAnEmptyTextOnTheClipboard) {
    EditFixture f;
    f.clipboard.text = u"old";
    f.SetText(u"abc");
    frmForma_mEditCopy_Click(f.editor);
    ASSERT_TRUE(f.clipboard.text.has_value());
    EXPECT_EQ(*f.clipboard.text, u"");
}

TEST(CutCommand, CopiesThroughTheLayoutRuleThenRemovesTheSelection) {
    EditFixture f;
    f.layouts.active = 1;
    f.SetText(u"один два");
    f.rich.Select(4, 4);
    frmForma_mEditCut_Click(f.editor);
    EXPECT_EQ(f.clipboard.text, u" два");
    EXPECT_EQ(f.rich.Text(), u"один");
    EXPECT_EQ(f.editor.doc.Modified, 1);
    EXPECT_EQ(f.editor.doc.UndoAllowed, 1);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::mFormatKlava), kEnglishCaption);
}

TEST(CutCommand, KeepsTheTextWhenTheClipboardCannotBeWritten) {
    EditFixture f;
    f.clipboard.unavailable = true;
    f.SetText(u"важное");
    f.rich.Select(0, 6);
    frmForma_mEditCut_Click(f.editor);
    EXPECT_EQ(f.rich.Text(), u"важное");
    EXPECT_EQ(f.rich.SelLength(), 6);
    EXPECT_EQ(f.editor.doc.Modified, 0);
}

TEST(PasteCommand, InsertsThePlainTextThenPumpsAndReappliesTheDocumentFont) {
    EditFixture f;
    f.editor.doc.FontName = u"Consolas";
    f.editor.doc.FontSize = 14;
    f.rich.SetFont({u"Arial", 20, true, true}); // as if the control had drifted from the document font
    f.SetText(u"один два три");
    f.rich.Select(5, 3);
    f.clipboard.text = u"2";
    int32_t stateAtPump = -1;
    std::u16string textAtPump;
    f.window.onPump = [&] {
        stateAtPump = f.editor.doc.EditorState;
        textAtPump = f.rich.Text();
    };

    frmForma_mEditPaste_Click(f.editor);

    EXPECT_EQ(f.rich.Text(), u"один 2 три");
    EXPECT_EQ(f.rich.SelStart(), 6);
    EXPECT_EQ(textAtPump, u"один 2 три");
    EXPECT_EQ(stateAtPump, kStateFind);
    EXPECT_EQ(f.rich.Font().name, u"Consolas");
    EXPECT_EQ(f.rich.Font().size, 14);
    EXPECT_FALSE(f.rich.Font().bold);
    EXPECT_FALSE(f.rich.Font().italic);
    EXPECT_EQ(f.editor.doc.Modified, 1);
    EXPECT_EQ(f.editor.doc.UndoAllowed, 1);
    EXPECT_EQ(f.editor.doc.EditorState, kStateFind);
    // One Change from the insert, then four font writes the change handler ignores.
    EXPECT_EQ(f.tracker.statesSeen, (std::vector<int32_t>{0, 3, 3, 3, 3}));
}

TEST(PasteCommand, WithNoTextOnTheClipboardDeletesTheSelectionAndStillAppliesTheFont) {
    EditFixture f;
    f.SetText(u"abc");
    f.rich.Select(1, 1);
    frmForma_mEditPaste_Click(f.editor);
    EXPECT_EQ(f.rich.Text(), u"ac");
    EXPECT_EQ(f.rich.Font().name, u"Courier New");
    EXPECT_EQ(f.window.pumps, 1);
}

TEST(PasteCommand, AClipboardThatCannotBeReadLeavesTheSelectionAndTheFontAlone) {
    EditFixture f;
    f.clipboard.unavailable = true;
    f.SetText(u"abc");
    f.rich.Select(1, 1);
    f.rich.SetFont({u"Arial", 20, false, false});
    frmForma_mEditPaste_Click(f.editor);
    EXPECT_EQ(f.rich.Text(), u"abc");
    EXPECT_EQ(f.rich.SelLength(), 1);
    EXPECT_EQ(f.rich.Font().name, u"Arial");
    EXPECT_EQ(f.editor.doc.Modified, 0);
}

TEST(DeleteAndSelectAll, WorkOnTheSelectionAndCountLineBreaksAsTwo) {
    EditFixture f;
    f.SetText(u"ab\r\ncd");
    frmForma_mEditDelete_Click(f.editor); // nothing selected: the text stays
    EXPECT_EQ(f.rich.Text(), u"ab\r\ncd");

    frmForma_mEditSelectAll_Click(f.editor);
    EXPECT_EQ(f.rich.SelStart(), 0);
    EXPECT_EQ(f.rich.SelLength(), 6);
    frmForma_mEditDelete_Click(f.editor);
    EXPECT_EQ(f.rich.Text(), u"");

    frmForma_mEditSelectAll_Click(f.editor);
    EXPECT_EQ(f.rich.SelStart(), 0);
    EXPECT_EQ(f.rich.SelLength(), 0);
}

TEST(KeyRule, CtrlZIsSwallowedUntilThereIsSomethingOfTheUsersToUndo) {
    EditFixture f;
    EXPECT_TRUE(Swallowed(Press(f, kKeyZ, kCtrlMask)));
    f.editor.doc.UndoAllowed = 1;
    KeyResult r = Press(f, kKeyZ, kCtrlMask);
    EXPECT_EQ(r.key, kKeyZ);
    EXPECT_EQ(r.shift, kCtrlMask);
    EXPECT_EQ(f.rich.undos, 0); // the control undoes by itself
}

TEST(KeyRule, ComparesTheWholeModifierSet) {
    EditFixture f;
    f.clipboard.text = u"x";
    KeyResult r = Press(f, kKeyZ, kCtrlMask | kShiftMask);
    EXPECT_EQ(r.key, kKeyZ);
    EXPECT_EQ(r.shift, kCtrlMask | kShiftMask);
    r = Press(f, kKeyV, kCtrlMask | kAltMask);
    EXPECT_EQ(r.key, kKeyV);
    EXPECT_EQ(r.shift, kCtrlMask | kAltMask);
    r = Press(f, kKeyV, kCtrlMask | kShiftMask);
    EXPECT_EQ(r.key, kKeyV);
    r = Press(f, kKeyF10, 0);
    EXPECT_EQ(r.key, kKeyF10);
    r = Press(f, kKeyF10, kShiftMask | kCtrlMask);
    EXPECT_EQ(f.window.editMenuPopups, 0);
    EXPECT_EQ(f.rich.Text(), u"");
}

TEST(KeyRule, CtrlVRunsTheProgramsPlainTextPaste) {
    EditFixture f;
    f.clipboard.text = u"вставка";
    EXPECT_TRUE(Swallowed(Press(f, kKeyV, kCtrlMask)));
    EXPECT_EQ(f.rich.Text(), u"вставка");
    EXPECT_EQ(f.window.pumps, 1);
    EXPECT_EQ(f.rich.Font().name, u"Courier New");
}

TEST(KeyRule, ShiftF10OpensTheEditMenuWithoutSwallowingTheKey) {
    EditFixture f;
    KeyResult r = Press(f, kKeyF10, kShiftMask);
    EXPECT_EQ(r.key, kKeyF10);
    EXPECT_EQ(r.shift, kShiftMask);
    EXPECT_EQ(f.window.editMenuPopups, 1);
}

TEST(KeyRule, DelDeletesTheSelectionOrLeavesTheNextCharacterToTheControl) {
    EditFixture f;
    f.SetText(u"abcd");
    f.rich.SetSelStart(1);
    KeyResult r = Press(f, kKeyDelete, 0);
    EXPECT_EQ(r.key, kKeyDelete); // the control deletes the next character itself
    EXPECT_EQ(f.rich.Text(), u"abcd");

    f.rich.Select(1, 2);
    EXPECT_TRUE(Swallowed(Press(f, kKeyDelete, 0)));
    EXPECT_EQ(f.rich.Text(), u"ad");

    f.rich.Select(0, 1);
    r = Press(f, kKeyDelete, kShiftMask); // Shift+Del is the control's cut
    EXPECT_EQ(r.key, kKeyDelete);
    EXPECT_EQ(f.rich.Text(), u"ad");
}

TEST(KeyRule, CopyAndCutShortcutsFollowTheSelectionNowNotTheMenuStates) {
    EditFixture f;
    f.SetText(u"один два");
    frmForma_mEdit_Click(f.editor); // opened with nothing selected: Copy and Cut disabled
    ASSERT_FALSE(f.window.MenuEnabled(MenuItem::mEditCopy));

    f.rich.Select(0, 4);
    EXPECT_TRUE(Swallowed(Press(f, kKeyC, kCtrlMask)));
    EXPECT_EQ(f.clipboard.text, u"один");

    f.rich.Select(4, 4);
    EXPECT_TRUE(Swallowed(Press(f, kKeyX, kCtrlMask)));
    EXPECT_EQ(f.clipboard.text, u" два");
    EXPECT_EQ(f.rich.Text(), u"один");

    // Opened with a selection, then the selection is gone: the clipboard is left alone.
    f.rich.Select(0, 2);
    frmForma_mEdit_Click(f.editor);
    f.rich.SetSelStart(4);
    EXPECT_TRUE(Swallowed(Press(f, kKeyC, kCtrlMask)));
    EXPECT_TRUE(Swallowed(Press(f, kKeyX, kCtrlMask)));
    EXPECT_EQ(f.clipboard.text, u" два");
    EXPECT_EQ(f.rich.Text(), u"один");
    EXPECT_EQ(f.clipboard.writes, 2);
}

TEST(KeyRule, CtrlASelectsEverything) {
    EditFixture f;
    f.SetText(u"ab\r\nc");
    EXPECT_TRUE(Swallowed(Press(f, kKeyA, kCtrlMask)));
    EXPECT_EQ(f.rich.SelLength(), 5);
}

TEST(KeyRule, OtherKeysGoToTheControlUnchanged) {
    EditFixture f;
    for (auto [key, shift] :
         {std::pair<int16_t, int16_t>{45, kShiftMask}, {45, kCtrlMask}, {65, 0}, {90, 0}}) {
        KeyResult r = Press(f, key, shift);
        EXPECT_EQ(r.key, key);
        EXPECT_EQ(r.shift, shift);
    }
    EXPECT_EQ(f.clipboard.writes, 0);
}

TEST(MouseRule, OnlyTheRightButtonOpensTheEditMenu) {
    EditFixture f;
    frmForma_Rich_MouseDown(f.editor, kLeftButton, 0, 100, 100);
    frmForma_Rich_MouseDown(f.editor, kMiddleButton, 0, 100, 100);
    EXPECT_EQ(f.window.editMenuPopups, 0);
    frmForma_Rich_MouseDown(f.editor, kRightButton, kShiftMask, 0, 0);
    EXPECT_EQ(f.window.editMenuPopups, 1);
}

TEST(MainWindowWiring, RoutesTheEditMenuItsOpeningAndTheControlsKeysToTheEditCommands) {
    fakes::EditorWithFakes f; // Russian active
    fakes::FakeFontDialog fontDialog;
    f.ed.ports.fontDialog = &fontDialog;
    f.rich.SetText(u"abc");
    f.ed.doc.Modified = f.ed.doc.UndoAllowed = 0;

    OnMenuOpening(f.ed, MenuItem::mEdit);
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::mEditCopy));
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::mEditUndo));

    int16_t key = kKeyZ, shift = kCtrlMask;
    f.richEvents.OnKeyDown(key, shift);
    EXPECT_EQ(key, 0);

    f.rich.SetSelStart(0);
    f.rich.SetSelLength(3);
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::mEditCut));
    EXPECT_EQ(f.clipboard.text, u"abc");
    EXPECT_EQ(f.rich.Text(), u"");
    EXPECT_EQ(f.ed.doc.UndoAllowed, 1);

    key = kKeyV;
    shift = kCtrlMask;
    f.richEvents.OnKeyDown(key, shift);
    EXPECT_EQ(f.rich.Text(), u"abc");

    f.richEvents.OnMouseDown(kRightButton, 0, 10, 10);
    EXPECT_EQ(f.window.editMenuPopups, 1);

    fontDialog.choose = [](FontDialogRecord& d, LogicalFont&) { d.iPointSize = 180; };
    f.ed.doc.Modified = 0;
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::mFormatFont));
    EXPECT_EQ(f.rich.Font().size, 18);
    EXPECT_EQ(f.ed.doc.Modified, 0);

    for (MenuItem item : {MenuItem::mEditUndo, MenuItem::mEditCut, MenuItem::mEditCopy, MenuItem::mEditPaste,
                          MenuItem::mEditDelete, MenuItem::mEditSelectAll, MenuItem::mFormatFont})
        EXPECT_NE(CommandFor(item), nullptr);
}

} // namespace
} // namespace quillet
