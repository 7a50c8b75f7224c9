#include "editor/find/find_dialog_model.h"

#include "editor/find/search.h"
#include "unit/find_test_support.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing::SearchWorld;
using Strings = std::vector<std::u16string>;

bool ButtonsEnabled(const FindDialogModel& dialog) {
    return dialog.Enabled(FindControl::FindButton) && dialog.Enabled(FindControl::ReplaceAllButton);
}

TEST(FindDialogModel, OpensEmptyWithTheButtonsDisabledAndEnterDoingNothing) {
    SearchWorld w;
    w.Load(u"text");
    FindDialogModel dialog(w.editor, FindLayout::Find);
    EXPECT_FALSE(dialog.ReplaceLayout());
    EXPECT_EQ(dialog.Caption(), u"Найти");
    EXPECT_EQ(dialog.OuterHeight(), 0);
    EXPECT_EQ(dialog.FindText(), u"");
    EXPECT_TRUE(dialog.FindList().empty());
    EXPECT_FALSE(dialog.Enabled(FindControl::FindButton));
    EXPECT_FALSE(dialog.Visible(FindControl::ReplaceField));
    EXPECT_FALSE(dialog.Visible(FindControl::ReplaceLabel));
    EXPECT_FALSE(dialog.Visible(FindControl::ReplaceAllButton));
    EXPECT_FALSE(dialog.Enabled(FindControl::ReplaceAllButton));
    EXPECT_FALSE(dialog.MatchCase());

    dialog.EnterPressed(FindControl::FindField);
    EXPECT_EQ(w.control.findStarts.size(), 0u);
    EXPECT_FALSE(dialog.Closed());
    EXPECT_TRUE(w.editor.search.history.empty());
}

TEST(FindDialogModel, ListsTheSelectionFirstAndTheWholeHistoryAfterIt) {
    SearchWorld w;
    w.Load(u"x abc\r\ny");
    w.editor.search.history = {u"q", u"abc\r\n", u""};
    w.control.SetSelStart(2);
    w.control.SetSelLength(5);
    FindDialogModel dialog(w.editor, FindLayout::Find);
    EXPECT_EQ(dialog.FindText(), u"abc\r\n") << "taken exactly as selected";
    EXPECT_EQ(dialog.FindList(), (Strings{u"abc\r\n", u"q", u"abc\r\n", u""}));
    EXPECT_TRUE(dialog.Enabled(FindControl::FindButton));
    EXPECT_TRUE(dialog.ReplaceList().empty()) << "only the replace layout fills it";
}

TEST(FindDialogModel, EnablesTheButtonsOnlyWhileTheSearchFieldHoldsText) {
    SearchWorld w;
    w.editor.search.history = {u"a", u""};
    FindDialogModel dialog(w.editor, FindLayout::Replace);
    EXPECT_FALSE(ButtonsEnabled(dialog));
    dialog.OnFindTextChanged(u"x");
    EXPECT_TRUE(ButtonsEnabled(dialog));
    dialog.OnFindTextChanged(u"");
    EXPECT_FALSE(ButtonsEnabled(dialog));
    dialog.OnFindEntryPicked(0);
    EXPECT_EQ(dialog.FindText(), u"a");
    EXPECT_TRUE(ButtonsEnabled(dialog));
    dialog.OnFindEntryPicked(1);
    EXPECT_FALSE(ButtonsEnabled(dialog)) << "the empty entry";
    dialog.OnFindTextChanged(u"b");
    dialog.OnReplaceTextChanged(u"");
    EXPECT_TRUE(ButtonsEnabled(dialog)) << "the replacement field plays no part";
}

TEST(FindDialogModel, ReplaceLayoutOffersTheHistoryInBothListsAndReplacesWithAnEmptyText) {
    SearchWorld w;
    w.Load(u"abab");
    w.editor.search.history = {u"ab", u"cd"};
    FindDialogModel dialog(w.editor, FindLayout::Replace);
    EXPECT_TRUE(dialog.ReplaceLayout());
    EXPECT_EQ(dialog.Caption(), u"Заменить");
    EXPECT_EQ(dialog.OuterHeight(), 2350);
    EXPECT_TRUE(dialog.Visible(FindControl::ReplaceField));
    EXPECT_TRUE(dialog.Visible(FindControl::ReplaceLabel));
    EXPECT_TRUE(dialog.Visible(FindControl::ReplaceAllButton));
    EXPECT_EQ(dialog.FindList(), dialog.ReplaceList());
    EXPECT_EQ(dialog.ReplaceText(), u"");

    dialog.OnFindEntryPicked(0);
    dialog.OnReplaceAllButton();
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.control.Text(), u"");
    EXPECT_EQ(w.Messages(), Strings{u"Количество замен: 2"});
    EXPECT_EQ(w.editor.search.history, (Strings{u"ab", u"cd", u""}));
}

TEST(FindDialogModel, ReplacesWithTheTextPickedFromTheReplacementList) {
    SearchWorld w;
    w.Load(u"ab");
    w.editor.search.history = {u"ab", u"cd"};
    FindDialogModel dialog(w.editor, FindLayout::Replace);
    dialog.OnFindTextChanged(u"ab");
    dialog.OnReplaceEntryPicked(1);
    dialog.OnReplaceAllButton();
    EXPECT_EQ(w.control.Text(), u"cd");
}

TEST(FindDialogModel, EnterInTheReplaceLayoutSearchesAndClosesOnlyOnAMatch) {
    SearchWorld w;
    w.Load(u"one two");
    FindDialogModel dialog(w.editor, FindLayout::Replace);
    dialog.OnFindTextChanged(u"three");
    dialog.OnReplaceTextChanged(u"x");
    dialog.EnterPressed(FindControl::ReplaceField);
    EXPECT_EQ(w.Messages(), Strings{u"Текст не найден."});
    EXPECT_FALSE(dialog.Closed());
    EXPECT_EQ(w.control.Text(), u"one two");

    dialog.OnFindTextChanged(u"two");
    dialog.EnterPressed(FindControl::FindField);
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.control.SelStart(), 4);
    EXPECT_EQ(w.control.Text(), u"one two");
    EXPECT_EQ(w.editor.search.pattern, u"two");
}

TEST(FindDialogModel, EnterOnAnotherButtonPressesThatButton) {
    SearchWorld w;
    w.Load(u"one");
    FindDialogModel dialog(w.editor, FindLayout::Find);
    dialog.OnFindTextChanged(u"one");
    dialog.EnterPressed(FindControl::CancelButton);
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.control.findStarts.size(), 0u);
}

TEST(FindDialogModel, EscapePressedAndReleasedInEitherFieldClosesButNotTheReleaseAloneOfAMessageBoxsEscape) {
    SearchWorld w;
    FindDialogModel first(w.editor, FindLayout::Replace);
    for (int32_t key : {13, 65}) {
        first.OnFieldKeyDown(key);
        first.OnFindFieldKeyUp(key);
    }
    first.OnFindFieldKeyUp(27); // its press closed «Текст не найден.»
    EXPECT_FALSE(first.Closed());
    first.OnFieldKeyDown(27);
    first.OnFindFieldKeyUp(27);
    EXPECT_TRUE(first.Closed());

    FindDialogModel second(w.editor, FindLayout::Find);
    second.OnFieldKeyDown(27);
    second.OnReplaceFieldKeyUp(27);
    EXPECT_TRUE(second.Closed());
}

TEST(FindDialogModel, MatchCaseTakesEffectAtOnceAndSurvivesCancel) {
    SearchWorld w;
    w.Load(u"Word word");
    {
        FindDialogModel dialog(w.editor, FindLayout::Find);
        dialog.OnFindTextChanged(u"word");
        dialog.OnMatchCase(true);
        EXPECT_TRUE(w.editor.search.matchCase);
        dialog.OnCancelButton();
        EXPECT_TRUE(dialog.Closed());
    }
    EXPECT_TRUE(w.editor.search.history.empty()) << "Cancel records nothing";
    FindDialogModel again(w.editor, FindLayout::Find);
    EXPECT_TRUE(again.MatchCase());
    again.OnFindTextChanged(u"word");
    again.OnFindButton();
    EXPECT_EQ(w.control.SelStart(), 5);
    FindNext(w.editor);
    EXPECT_EQ(w.Messages(), Strings{u"Текст не найден."});
    again.OnMatchCase(false);
    EXPECT_FALSE(w.editor.search.matchCase);
}

TEST(FindDialogModel, TheFindLayoutIsTheDesignedOne) {
    SearchWorld w;
    FindDialogModel find(w.editor, FindLayout::Find);
    EXPECT_FALSE(find.ReplaceLayout());
    EXPECT_EQ(find.Caption(), u"Найти");
    EXPECT_EQ(find.OuterHeight(), 0);
}

TEST(FindDialogModel, TheDesignedControlsTakeTheFocusInTabOrderFromTheSearchField) {
    std::vector<FindControl> order(8);
    for (const auto& item : kFindControls)
        order.at(static_cast<size_t>(item.tabIndex)) = item.id;
    EXPECT_EQ(order[0], FindControl::FindField);
    EXPECT_EQ(order[1], FindControl::ReplaceField);
    EXPECT_EQ(order[2], FindControl::FindButton);
    // Everything that takes the focus comes before the labels.
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NE(kFindControls[static_cast<size_t>(order[i])].kind, FindControlKind::Label);
}

} // namespace
} // namespace quillet
