#include "editor/find/find_dialog_model.h"

#include "editor/find/search.h"
#include "unit/find_test_support.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing::SearchWorld;
using Strings = std::vector<std::u16string>;

bool ButtonsEnabled(const FindDialogModel& dialog) {
    return dialog.Enabled(FindControl::cmdFind) && dialog.Enabled(FindControl::cmdReplaceAll);
}

TEST(FindDialogModel, OpensEmptyWithTheButtonsDisabledAndEnterDoingNothing) {
    SearchWorld w;
    w.Load(u"text");
    FindDialogModel dialog(w.editor);
    EXPECT_FALSE(dialog.ReplaceLayout());
    EXPECT_EQ(dialog.Caption(), u"Найти");
    EXPECT_EQ(dialog.OuterHeight(), 0);
    EXPECT_EQ(dialog.FindText(), u"");
    EXPECT_TRUE(dialog.FindList().empty());
    EXPECT_FALSE(dialog.Enabled(FindControl::cmdFind));
    EXPECT_FALSE(dialog.Visible(FindControl::cboReplace));
    EXPECT_FALSE(dialog.Visible(FindControl::lblReplace));
    EXPECT_FALSE(dialog.Visible(FindControl::cmdReplaceAll));
    EXPECT_FALSE(dialog.Enabled(FindControl::cmdReplaceAll));
    EXPECT_FALSE(dialog.MatchCase());

    dialog.EnterPressed(FindControl::cboFind);
    EXPECT_EQ(w.rich.findStarts.size(), 0u);
    EXPECT_FALSE(dialog.Closed());
    EXPECT_TRUE(w.editor.search.FindHistory.empty());
}

TEST(FindDialogModel, ListsTheSelectionFirstAndTheWholeHistoryAfterIt) {
    SearchWorld w;
    w.Load(u"x abc\r\ny");
    w.editor.search.FindHistory = {u"q", u"abc\r\n", u""};
    w.rich.SetSelStart(2);
    w.rich.SetSelLength(5);
    FindDialogModel dialog(w.editor);
    EXPECT_EQ(dialog.FindText(), u"abc\r\n") << "taken exactly as selected";
    EXPECT_EQ(dialog.FindList(), (Strings{u"abc\r\n", u"q", u"abc\r\n", u""}));
    EXPECT_TRUE(dialog.Enabled(FindControl::cmdFind));
    EXPECT_TRUE(dialog.ReplaceList().empty()) << "only the replace layout fills it";
}

TEST(FindDialogModel, EnablesTheButtonsOnlyWhileTheSearchFieldHoldsText) {
    SearchWorld w;
    w.editor.search.FindHistory = {u"a", u""};
    w.editor.doc.EditorState = kStateReplace;
    FindDialogModel dialog(w.editor);
    EXPECT_FALSE(ButtonsEnabled(dialog));
    dialog.frmFind_cboFind_Change(u"x");
    EXPECT_TRUE(ButtonsEnabled(dialog));
    dialog.frmFind_cboFind_Change(u"");
    EXPECT_FALSE(ButtonsEnabled(dialog));
    dialog.frmFind_cboFind_Click(0);
    EXPECT_EQ(dialog.FindText(), u"a");
    EXPECT_TRUE(ButtonsEnabled(dialog));
    dialog.frmFind_cboFind_Click(1);
    EXPECT_FALSE(ButtonsEnabled(dialog)) << "the empty entry";
    dialog.frmFind_cboFind_Change(u"b");
    dialog.frmFind_cboReplace_Change(u"");
    EXPECT_TRUE(ButtonsEnabled(dialog)) << "the replacement field plays no part";
}

TEST(FindDialogModel, ReplaceLayoutOffersTheHistoryInBothListsAndReplacesWithAnEmptyText) {
    SearchWorld w;
    w.Load(u"abab");
    w.editor.search.FindHistory = {u"ab", u"cd"};
    w.window.SetMenuCaption(MenuItem::mEditZamenit, u"Заменить");
    w.editor.doc.EditorState = kStateReplace;
    FindDialogModel dialog(w.editor);
    EXPECT_TRUE(dialog.ReplaceLayout());
    EXPECT_EQ(dialog.Caption(), u"Заменить");
    EXPECT_EQ(dialog.OuterHeight(), 2350);
    EXPECT_TRUE(dialog.Visible(FindControl::cboReplace));
    EXPECT_TRUE(dialog.Visible(FindControl::lblReplace));
    EXPECT_TRUE(dialog.Visible(FindControl::cmdReplaceAll));
    EXPECT_EQ(dialog.FindList(), dialog.ReplaceList());
    EXPECT_EQ(dialog.ReplaceText(), u"");

    dialog.frmFind_cboFind_Click(0);
    dialog.frmFind_cmdReplaceAll_Click();
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.rich.Text(), u"");
    EXPECT_EQ(w.Messages(), Strings{u"Количество замен: 2"});
    EXPECT_EQ(w.editor.search.FindHistory, (Strings{u"ab", u"cd", u""}));
}

TEST(FindDialogModel, ReplacesWithTheTextPickedFromTheReplacementList) {
    SearchWorld w;
    w.Load(u"ab");
    w.editor.search.FindHistory = {u"ab", u"cd"};
    w.editor.doc.EditorState = kStateReplace;
    FindDialogModel dialog(w.editor);
    dialog.frmFind_cboFind_Change(u"ab");
    dialog.frmFind_cboReplace_Click(1);
    dialog.frmFind_cmdReplaceAll_Click();
    EXPECT_EQ(w.rich.Text(), u"cd");
}

TEST(FindDialogModel, EnterInTheReplaceLayoutSearchesAndClosesOnlyOnAMatch) {
    SearchWorld w;
    w.Load(u"one two");
    w.editor.doc.EditorState = kStateReplace;
    FindDialogModel dialog(w.editor);
    dialog.frmFind_cboFind_Change(u"three");
    dialog.frmFind_cboReplace_Change(u"x");
    dialog.EnterPressed(FindControl::cboReplace);
    EXPECT_EQ(w.Messages(), Strings{u"Текст не найден."});
    EXPECT_FALSE(dialog.Closed());
    EXPECT_EQ(w.rich.Text(), u"one two");

    dialog.frmFind_cboFind_Change(u"two");
    dialog.EnterPressed(FindControl::cboFind);
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.rich.SelStart(), 4);
    EXPECT_EQ(w.rich.Text(), u"one two");
    EXPECT_EQ(w.editor.search.FindPattern, u"two");
}

TEST(FindDialogModel, EnterOnAnotherButtonPressesThatButton) {
    SearchWorld w;
    w.Load(u"one");
    FindDialogModel dialog(w.editor);
    dialog.frmFind_cboFind_Change(u"one");
    dialog.EnterPressed(FindControl::cmdCancel);
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.rich.findStarts.size(), 0u);
}

TEST(FindDialogModel, EscapePressedAndReleasedInEitherFieldClosesButNotTheReleaseAloneOfAMessageBoxsEscape) {
    SearchWorld w;
    w.editor.doc.EditorState = kStateReplace;
    FindDialogModel first(w.editor);
    for (int32_t key : {13, 65}) {
        first.OnFieldKeyDown(key);
        first.frmFind_cboFind_KeyUp(key);
    }
    first.frmFind_cboFind_KeyUp(27); // its press closed «Текст не найден.»
    EXPECT_FALSE(first.Closed());
    first.OnFieldKeyDown(27);
    first.frmFind_cboFind_KeyUp(27);
    EXPECT_TRUE(first.Closed());

    FindDialogModel second(w.editor);
    second.OnFieldKeyDown(27);
    second.frmFind_cboReplace_KeyUp(27);
    EXPECT_TRUE(second.Closed());
}

TEST(FindDialogModel, MatchCaseTakesEffectAtOnceAndSurvivesCancel) {
    SearchWorld w;
    w.Load(u"Word word");
    {
        FindDialogModel dialog(w.editor);
        dialog.frmFind_cboFind_Change(u"word");
        dialog.frmFind_chkMatchCase_Click(true);
        EXPECT_EQ(w.editor.search.FindMatchCase, 1);
        dialog.frmFind_cmdCancel_Click();
        EXPECT_TRUE(dialog.Closed());
    }
    EXPECT_TRUE(w.editor.search.FindHistory.empty()) << "Cancel records nothing";
    FindDialogModel again(w.editor);
    EXPECT_TRUE(again.MatchCase());
    again.frmFind_cboFind_Change(u"word");
    again.frmFind_cmdFind_Click();
    EXPECT_EQ(w.rich.SelStart(), 5);
    FindNext(w.editor);
    EXPECT_EQ(w.Messages(), Strings{u"Текст не найден."});
    again.frmFind_chkMatchCase_Click(false);
    EXPECT_EQ(w.editor.search.FindMatchCase, 0);
}

TEST(FindDialogModel, TheFindLayoutAfterTheReplaceLayoutIsTheDesignedOne) {
    SearchWorld w;
    frmForma_mEditZamenit_Click(w.editor);
    FindDialogModel replace(w.editor);
    EXPECT_TRUE(replace.ReplaceLayout());
    frmForma_mEditFind_Click(w.editor);
    FindDialogModel find(w.editor);
    EXPECT_FALSE(find.ReplaceLayout());
    EXPECT_EQ(find.Caption(), u"Найти");
    EXPECT_EQ(find.OuterHeight(), 0);
}

TEST(FindDialogModel, TheDesignedControlsTakeTheFocusInTabOrderFromTheSearchField) {
    std::vector<FindControl> order(8);
    for (const auto& item : kFindControls)
        order.at(static_cast<size_t>(item.tabIndex)) = item.id;
    EXPECT_EQ(order[0], FindControl::cboFind);
    EXPECT_EQ(order[1], FindControl::cboReplace);
    EXPECT_EQ(order[2], FindControl::cmdFind);
    // Everything that takes the focus comes before the labels.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NE(kFindControls[static_cast<size_t>(order[i])].kind, FindControlKind::Label);
}

} // namespace
} // namespace quillet
