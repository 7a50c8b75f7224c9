#include "editor/find/search.h"

#include "editor/files/save_changes.h"
#include "editor/find/find_dialog_model.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using Strings = std::vector<std::u16string>;

const Strings kNotFound{u"Текст не найден."};

// The editor on fakes, with a document as loading leaves it: not modified, nothing to undo.
struct SearchWorld : fakes::EditorWithFakes {
    void Load(std::u16string_view text) { control.Load(std::u16string(text)); }
};

// Find from the dialog, then F3 again and again; -1 stands for «Текст не найден.», after which
// the selection is as it was and the next F3 starts at the top. Find ignores the caret and where
// the last search would have gone on.
TEST(Search, FindStartsAtTheTopAndF3WalksTheMatchesThenStartsOverAfterTheMiss) {
    struct Case {
        const char* name;
        std::u16string_view text, pattern;
        bool matchCase;
        std::vector<int32_t> walk;
    };
    // clang-format off
    const Case cases[] = {
        {"each match once", u"one two one", u"one", false, {0, 8, -1, 0, 8}},
        {"never overlapping", u"aaaa", u"aa", false, {0, 2, -1, 0}},
        {"Cyrillic, case ignored", u"привет Привет ПРИВЕТ", u"Привет", false, {0, 7, 14, -1}},
        {"Cyrillic, case matched", u"привет Привет ПРИВЕТ", u"Привет", true, {7, -1, 7}},
        {"the last match ends the text", u"ab ab", u"ab", false, {0, 3, -1}},
        {"a miss from the dialog, kept for F3", u"abc abc", u"zzz", false, {-1, -1}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SearchWorld w;
        w.Load(c.text);
        w.control.SetSelStart(3);
        w.ed.search.matchCase = c.matchCase;
        w.ed.search.pattern = u"old";
        w.ed.search.nextStart = 7;
        int32_t selStart = 3, selLength = 0;
        for (size_t i = 0; i < c.walk.size(); ++i) {
            w.messages.shown.clear();
            if (i == 0)
                EXPECT_EQ(FindFirst(w.ed, c.pattern), c.walk[i] != -1) << c.name;
            else
                FindNext(w.ed);
            if (c.walk[i] == -1) {
                EXPECT_EQ(w.messages.Seen(), kNotFound) << c.name << " step " << i;
                EXPECT_EQ(w.ed.search.nextStart, 0) << c.name << " step " << i;
            } else {
                EXPECT_TRUE(w.messages.shown.empty()) << c.name << " step " << i;
                selStart = c.walk[i];
                selLength = int32_t(c.pattern.size());
            }
            EXPECT_EQ(w.control.SelStart(), selStart) << c.name << " step " << i;
            EXPECT_EQ(w.control.SelLength(), selLength) << c.name << " step " << i;
        }
        EXPECT_EQ(w.ed.search.pattern, c.pattern) << c.name;
        EXPECT_EQ(w.ed.search.history, Strings{std::u16string(c.pattern)}) << c.name; // F3 adds nothing
        EXPECT_FALSE(w.ed.doc.modified) << c.name;
    }
}

TEST(Search, MenuCommandsOpenTheDialogInTheirLayoutsAndF3BeforeAnySearchSearchesNothing) {
    SearchWorld w;
    w.Load(u"text");
    OnReplace(w.ed);
    OnFind(w.ed);
    OnFindNext(w.ed);
    EXPECT_EQ(w.findDialog.layouts,
              (std::vector<FindLayout>{FindLayout::Replace, FindLayout::Find, FindLayout::Find}));
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST(Search, HistoryKeepsDistinctTextsInFirstAddedOrder) {
    SearchWorld w;
    w.Load(u"abc");
    FindFirst(w.ed, u"abc");
    FindFirst(w.ed, u"Abc");
    FindFirst(w.ed, u"abc");
    ReplaceAll(w.ed, u"Abc", u"abc");
    ReplaceAll(w.ed, u"x", u"");
    ReplaceAll(w.ed, u"y", u"");
    EXPECT_EQ(w.ed.search.history, (Strings{u"abc", u"Abc", u"x", u"", u"y"}));
}

// Replace All with the second and third characters selected: one undoable Change, the caret just after the
// last inserted text, never a search in what it inserted, and what F3 searches for untouched.
TEST(Search, ReplaceAllReplacesEveryMatchInOneUndoableChange) {
    struct Case {
        const char* name;
        std::u16string text, pattern, replacement;
        bool matchCase;
        int32_t count;
        std::u16string result;
        int32_t caret;
    };
    // More than positions can count: measured, not built, and refused.
    const std::u16string huge = u"text" + std::u16string(100'000, u't');
    // clang-format off
    const Case cases[] = {
        {"inserted text not searched", u"a a a", u"a", u"aa", false, 3, u"aa aa aa", 8},
        {"by an empty text", u"abab", u"ab", u"", false, 2, u"", 0},
        {"breaks made CR LF", u"Ёж ёж\r\nЁЖ", u"ЁЖ", u"кот\n", false, 3, u"кот\r\n кот\r\n\r\nкот\r\n", 18},
        {"case matched", u"привет Привет ПРИВЕТ", u"Привет", u"пока", true, 1, u"привет пока ПРИВЕТ", 11},
        {"case ignored", u"привет Привет ПРИВЕТ", u"ПРИВЕТ", u"пока", false, 3, u"пока пока пока", 14},
        {"no match", u"text", u"zz", u"y", false, 0, u"text", 1},
        {"too large", huge, u"t", std::u16string(21'475, u'ж'), false, -1, huge, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SearchWorld w;
        w.Load(c.text);
        w.control.Select(1, 2);
        w.ed.search.matchCase = c.matchCase;
        w.ed.search.pattern = u"q";
        w.ed.search.nextStart = 2;
        w.control.focusSucceeds = false; // nothing to tell

        EXPECT_EQ(ReplaceAll(w.ed, c.pattern, c.replacement), c.count) << c.name;
        const bool replaced = c.count > 0;
        EXPECT_EQ(w.control.Text(), c.result) << c.name;
        const std::string count = std::to_string(c.count);
        EXPECT_EQ(w.messages.Seen(),
                  Strings{c.count < 0 ? u"Недостаточно памяти: текст не изменён. [!]"
                                      : u"Количество замен: " + std::u16string(count.begin(), count.end())})
            << c.name;
        EXPECT_EQ(w.control.SelStart(), c.caret) << c.name;
        EXPECT_EQ(w.control.SelLength(), replaced ? 0 : 2) << c.name;
        EXPECT_EQ(w.control.changes, replaced ? 1 : 0) << c.name;
        EXPECT_EQ(w.ed.doc.modified, replaced) << c.name;
        EXPECT_EQ(w.ed.doc.undoAllowed, replaced) << c.name;
        EXPECT_EQ(w.control.focusRequests, 1) << c.name;
        EXPECT_EQ(w.ed.search.pattern, u"q") << c.name;
        EXPECT_EQ(w.ed.search.nextStart, 2) << c.name;
        EXPECT_EQ(w.ed.search.history, (Strings{c.pattern, c.replacement})) << c.name;
        w.control.Undo();
        EXPECT_EQ(w.control.Text(), c.text) << c.name;
        EXPECT_FALSE(w.control.CanUndo()) << c.name;
    }
}

// The search state carries over to another document, whatever its length.
TEST(Search, F3InAnotherDocumentSearchesTheOldPatternFromTheTopWhenItsStartIsGone) {
    SearchWorld w;
    w.Load(u"xxxxxxxx one");
    ASSERT_TRUE(FindFirst(w.ed, u"one"));
    w.Load(u"one two one"); // opened: shorter than where F3 would go on
    FindNext(w.ed);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.control.SelStart(), 0);
    EXPECT_EQ(w.ed.search.nextStart, 3);

    NewDocument(w.ed);
    EXPECT_EQ(w.ed.search.nextStart, 0);
    EXPECT_EQ(w.ed.search.pattern, u"one");
    FindNext(w.ed);
    EXPECT_EQ(w.messages.Seen(), kNotFound);
}

bool ButtonsEnabled(const FindDialogModel& dialog) {
    return dialog.Enabled(FindControl::FindButton) && dialog.Enabled(FindControl::ReplaceAllButton);
}

TEST(FindDialogModel, OpensWithNothingSelectedInEitherLayoutWithTheButtonsDisabledAndEnterDoingNothing) {
    for (FindLayout layout : {FindLayout::Find, FindLayout::Replace}) {
        const bool replace = layout == FindLayout::Replace;
        SearchWorld w;
        w.Load(u"text");
        w.ed.search.history = {u"h"};
        FindDialogModel dialog(w.ed, layout);
        EXPECT_EQ(dialog.ReplaceLayout(), replace);
        EXPECT_EQ(dialog.Caption(), replace ? u"Заменить" : u"Найти");
        EXPECT_EQ(dialog.OuterHeight(), replace ? 2350 : 0);
        for (FindControl control :
             {FindControl::ReplaceField, FindControl::ReplaceLabel, FindControl::ReplaceAllButton})
            EXPECT_EQ(dialog.Visible(control), replace) << replace << int(control);
        EXPECT_EQ(dialog.FindText(), u"");
        EXPECT_EQ(dialog.ReplaceText(), u"");
        EXPECT_EQ(dialog.FindList(), Strings{u"h"});
        EXPECT_EQ(dialog.ReplaceList(), replace ? Strings{u"h"} : Strings{}); // only its layout fills it
        EXPECT_FALSE(dialog.Enabled(FindControl::FindButton) ||
                     dialog.Enabled(FindControl::ReplaceAllButton));
        EXPECT_FALSE(dialog.MatchCase());
        dialog.EnterPressed(FindControl::FindField);
        EXPECT_FALSE(dialog.Closed());
        EXPECT_EQ(w.ed.search.history, Strings{u"h"});
    }
}

TEST(FindDialogModel, ListsTheSelectionFirstAndEnablesTheButtonsWhileTheSearchFieldHoldsText) {
    SearchWorld w;
    w.Load(u"x abc\r\ny");
    w.ed.search.history = {u"q", u"abc\r\n", u""};
    w.control.Select(2, 5);
    FindDialogModel dialog(w.ed, FindLayout::Replace);
    EXPECT_EQ(dialog.FindText(), u"abc\r\n") << "taken exactly as selected";
    EXPECT_EQ(dialog.FindList(), (Strings{u"abc\r\n", u"q", u"abc\r\n", u""}));
    EXPECT_TRUE(ButtonsEnabled(dialog));
    dialog.OnFindTextChanged(u"");
    EXPECT_FALSE(ButtonsEnabled(dialog));
    dialog.OnFindEntryPicked(1);
    EXPECT_EQ(dialog.FindText(), u"q");
    EXPECT_TRUE(ButtonsEnabled(dialog));
    dialog.OnFindEntryPicked(3);
    EXPECT_FALSE(ButtonsEnabled(dialog)) << "the empty entry";
    dialog.OnFindTextChanged(u"b");
    dialog.OnReplaceTextChanged(u"");
    EXPECT_TRUE(ButtonsEnabled(dialog)) << "the replacement field plays no part";
}

TEST(FindDialogModel, ReplaceLayoutOffersTheHistoryInBothListsAndReplacesWithWhatIsPicked) {
    for (int32_t replacementEntry : {-1, 1}) { // -1: the field left empty
        SearchWorld w;
        w.Load(u"abab");
        w.ed.search.history = {u"ab", u"cd"};
        FindDialogModel dialog(w.ed, FindLayout::Replace);
        EXPECT_EQ(dialog.FindList(), dialog.ReplaceList());
        dialog.OnFindEntryPicked(0);
        dialog.OnReplaceEntryPicked(replacementEntry);
        dialog.OnReplaceAllButton();
        EXPECT_TRUE(dialog.Closed());
        EXPECT_EQ(w.control.Text(), replacementEntry == 1 ? u"cdcd" : u"");
        EXPECT_EQ(w.messages.Seen(), Strings{u"Количество замен: 2"});
        EXPECT_EQ(w.ed.search.history,
                  (replacementEntry == 1 ? Strings{u"ab", u"cd"} : Strings{u"ab", u"cd", u""}));
    }
}

// Enter presses the button that has the focus, or Find from a field; Find closes the dialog only
// on a match. Escape closes it when pressed and released in a field, not on the release alone of
// the Escape that closed a message box.
TEST(FindDialogModel, EnterFindsAndClosesOnlyOnAMatchAndEscapeOrCancelClose) {
    SearchWorld w;
    w.Load(u"one two");
    FindDialogModel dialog(w.ed, FindLayout::Replace);
    dialog.OnFindTextChanged(u"three");
    dialog.OnReplaceTextChanged(u"x");
    dialog.EnterPressed(FindControl::ReplaceField);
    EXPECT_EQ(w.messages.Seen(), kNotFound);
    EXPECT_EQ(w.control.Text(), u"one two");
    for (int32_t key : {13, 65}) {
        dialog.OnFieldKeyDown(key);
        dialog.OnFindFieldKeyUp(key);
    }
    dialog.OnFindFieldKeyUp(27);
    EXPECT_FALSE(dialog.Closed());
    dialog.OnFindTextChanged(u"two");
    dialog.EnterPressed(FindControl::FindField);
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(w.control.SelStart(), 4);
    EXPECT_EQ(w.control.Text(), u"one two");
    EXPECT_EQ(w.ed.search.pattern, u"two");

    FindDialogModel escaped(w.ed, FindLayout::Replace);
    escaped.OnFieldKeyDown(27);
    escaped.OnFindFieldKeyUp(27);
    EXPECT_TRUE(escaped.Closed());
    FindDialogModel escapedInReplacement(w.ed, FindLayout::Find);
    escapedInReplacement.OnFieldKeyDown(27);
    escapedInReplacement.OnReplaceFieldKeyUp(27);
    EXPECT_TRUE(escapedInReplacement.Closed());

    FindDialogModel cancelled(w.ed, FindLayout::Find);
    cancelled.OnFindTextChanged(u"one");
    cancelled.OnMatchCase(true); // at once, and kept after Cancel
    EXPECT_TRUE(w.ed.search.matchCase);
    cancelled.EnterPressed(FindControl::CancelButton);
    EXPECT_TRUE(cancelled.Closed());
    EXPECT_EQ(w.control.SelStart(), 4) << "Cancel searches nothing";
    EXPECT_EQ(w.ed.search.history, (Strings{u"three", u"two"})) << "Cancel records nothing";
    FindDialogModel again(w.ed, FindLayout::Find);
    EXPECT_TRUE(again.MatchCase());
    again.OnMatchCase(false);
    EXPECT_FALSE(w.ed.search.matchCase);
}

TEST(FindDialogModel, TheControlsTakeTheFocusInTabOrderFromTheSearchField) {
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
