// The Edit menu on fakes: Undo, the clipboard commands under the Russian layout, the keys and the
// mouse button the menu takes from the text, Find, F3 and Replace All and their dialog; and the
// Format menu's font and word wrap.

#include "editor/app/commands.h"
#include "editor/edit/edit_menu.h"
#include "editor/edit/format_menu.h"
#include "editor/files/save_changes.h"
#include "editor/find/find_dialog_model.h"
#include "editor/find/search.h"
#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

using Strings = std::vector<std::u16string>;

// The editor on fakes for the Edit and Format menus: Russian active of Russian and English, the
// document font Courier New 12, and the change handler noting for each Change whether the program
// was changing the control.
class ChangeTracker : public TextEvents {
public:
    explicit ChangeTracker(Editor& editor) : TextEvents(editor), doc_(editor.doc) {}
    void OnChange() override {
        statesSeen.push_back(doc_.changingControl);
        TextEvents::OnChange();
    }
    std::vector<bool> statesSeen;

private:
    const DocumentState& doc_;
};

auto Fields(const FontSpec& f) {
    return std::tuple(f.name, f.size, f.bold, f.italic);
}

struct EditFixture : fakes::EditorWithFakes {
    EditFixture() {
        layouts = fakes::FakeKeyboardLayouts({fakes::kRussian, fakes::kEnglishUs}, 0);
        control.SetEvents(&tracker);
        ed.doc.font = {u"Courier New", 12, false, false};
    }
    ChangeTracker tracker{ed};
};

constexpr char16_t kAsCreated[] = u"Раскладка клавиатуры";
constexpr char16_t kRussianCaption[] = u"Раскладка клавиатуры русская";
constexpr char16_t kEnglishCaption[] = u"Раскладка клавиатуры английская";
constexpr char16_t kUnknownCaption[] = u"Раскладка клавиатуры неизвестная";

TEST(EditMenu, OpeningEnablesByTheSelectionAndUndoAllowedOnlyWhenItOpens) {
    EditFixture f;
    f.control.Load(u"один два");
    f.window.SetMenuEnabled(MenuItem::Paste, false); // only the rule's four are touched
    OnEditMenuOpening(f.ed);
    for (MenuItem item : {MenuItem::Cut, MenuItem::Copy, MenuItem::Delete, MenuItem::Undo, MenuItem::Paste})
        EXPECT_FALSE(f.window.MenuEnabled(item)) << int(item);
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::SelectAll) && f.window.MenuEnabled(MenuItem::Find));

    f.control.Select(0, 4);
    f.ed.doc.undoAllowed = true;
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::Copy)); // not recomputed until it opens
    OnEditMenuOpening(f.ed);
    for (MenuItem item : {MenuItem::Cut, MenuItem::Copy, MenuItem::Delete, MenuItem::Undo})
        EXPECT_TRUE(f.window.MenuEnabled(item)) << int(item);
}

// Copy and Cut write under the Russian layout, so that programs reading the clipboard by the
// writer's input language see Cyrillic, and leave the user in exactly the layout they had. Cut
// removes the selection only once the clipboard holds it. The clipboard holds "old" before.
TEST(CopyAndCut, WriteUnderTheRussianLayoutAndReturnToTheUsersOwn) {
    using namespace fakes;
    enum : int { kCut = 1, kSwitchFails = 2, kClipboardHeld = 4, kNothingSelected = 8 };
    struct Case {
        const char* name;
        int how;
        std::vector<FakeLayout> ring;
        size_t active;
        const char* layoutAtWrite;
        const char16_t* captionAtWrite;
        const char16_t* captionAfter;
        const char16_t* clipboard;
    };
    const auto ru = kRussianCaption, en = kEnglishCaption, unknown = kUnknownCaption;
    // clang-format off
    const Case cases[] = {
        {"Russian active", 0, {kRussian, kEnglishUs}, 0, "00000419", kAsCreated, kAsCreated, u"Привет"},
        {"English of two", 0, {kRussian, kEnglishUs}, 1, "00000419", ru, en, u"Привет"},
        {"English of three", 0, {kEnglishUs, kRussian, kUkrainian}, 0, "00000419", ru, en, u"Привет"},
        // The next layout after Ukrainian is English; the caption cannot name either.
        {"Ukrainian of three", 0, {kEnglishUs, kRussian, kUkrainian}, 2, "00000409", unknown, unknown, u"Привет"},
        {"switch fails", kSwitchFails, {kRussian, kEnglishUs}, 1, "00000409", unknown, unknown, u"Привет"},
        {"nothing selected: an empty text", kNothingSelected, {kRussian, kEnglishUs}, 0, "00000419", kAsCreated, kAsCreated, u""},
        {"cut, English of two", kCut, {kRussian, kEnglishUs}, 1, "00000419", ru, en, u"Привет"},
        {"cut, clipboard held by another program", kCut | kClipboardHeld, {kRussian, kEnglishUs}, 0, "", u"", kAsCreated, u"old"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EditFixture f;
        f.layouts = FakeKeyboardLayouts(c.ring, c.active);
        f.layouts.failActivate = c.how & kSwitchFails;
        f.clipboard.unavailable = c.how & kClipboardHeld;
        f.clipboard.text = u"old";
        f.control.Load(u"Привет, мир");
        f.control.Select(0, c.how & kNothingSelected ? 0 : 6);
        std::string layoutAtWrite;
        std::u16string captionAtWrite;
        f.clipboard.onSet = [&] {
            layoutAtWrite = f.layouts.ActiveLayoutName();
            captionAtWrite = f.window.MenuCaption(MenuItem::KeyboardLayout);
        };
        c.how& kCut ? OnCut(f.ed) : OnCopy(f.ed);
        const bool removed = c.how & kCut && !(c.how & kClipboardHeld);
        EXPECT_EQ(f.clipboard.text, c.clipboard) << c.name;
        EXPECT_EQ(layoutAtWrite, c.layoutAtWrite) << c.name;
        EXPECT_EQ(captionAtWrite, c.captionAtWrite) << c.name;
        EXPECT_EQ(f.layouts.ActiveLayoutName(), c.ring[c.active].name) << c.name;
        EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), c.captionAfter) << c.name;
        EXPECT_EQ(f.layouts.switches == 0, c.ring[c.active].name == kRussian.name) << c.name;
        EXPECT_EQ(f.window.pumps, 0) << c.name; // Ctrl+C runs this from the key handler
        EXPECT_EQ(f.control.Text(), removed ? u", мир" : u"Привет, мир") << c.name;
        EXPECT_EQ(f.control.SelLength(), removed || c.how & kNothingSelected ? 0 : 6) << c.name;
        EXPECT_EQ(f.ed.doc.modified && f.ed.doc.undoAllowed, removed) << c.name;
    }
}

// Paste inserts plain text and puts back the document font the control may have drifted from;
// a clipboard that cannot be read leaves everything alone.
TEST(PasteCommand, InsertsPlainTextAndReappliesTheDocumentFont) {
    struct Case {
        const char* name;
        const char16_t* clipboard; // nullptr: cannot be read
        const char16_t* text;
    };
    for (const Case& c : {Case{"text", u"2", u"один 2 три"}, Case{"no text", u"", u"один  три"},
                          Case{"unreadable", nullptr, u"один два три"}}) {
        EditFixture f;
        f.ed.doc.font = {u"Consolas", 14, false, false};
        f.control.SetFont({u"Arial", 20, true, true});
        f.control.Load(u"один два три");
        f.control.Select(5, 3);
        f.clipboard.unavailable = !c.clipboard;
        if (c.clipboard)
            f.clipboard.text = c.clipboard;
        OnPaste(f.ed);
        const bool pasted = c.clipboard != nullptr;
        EXPECT_EQ(f.control.Text(), c.text) << c.name;
        EXPECT_EQ(f.control.SelStart(), pasted ? 5 + int32_t(std::u16string_view(c.clipboard).size()) : 5)
            << c.name;
        EXPECT_EQ(f.control.SelLength(), pasted ? 0 : 3) << c.name;
        EXPECT_EQ(Fields(f.control.Font()),
                  Fields(pasted ? f.ed.doc.font : FontSpec{u"Arial", 20, true, true}))
            << c.name;
        EXPECT_EQ(f.ed.doc.modified, pasted) << c.name;
        EXPECT_EQ(f.ed.doc.undoAllowed, pasted) << c.name;
        EXPECT_FALSE(f.ed.doc.changingControl) << c.name;
        EXPECT_EQ(f.window.pumps, 0) << c.name; // a key handler never lets other messages through
        // One Change from the insert, then four font writes the change handler ignores.
        const std::vector<bool> changes = {false, true, true, true, true};
        EXPECT_EQ(f.tracker.statesSeen, pasted ? changes : std::vector<bool>{}) << c.name;
    }
}

// Which keys the Edit menu takes from the control, on "ab\r\ncd" with the line break and "cd"
// selected or the caret at 1, the clipboard holding "x".
TEST(KeyRule, TakesTheEditMenusKeysWithExactlyTheirModifiers) {
    constexpr int32_t kInsert = 45;
    struct Case {
        const char* name;
        int32_t key, shift;
        bool selected, undoAllowed, taken;
        const char16_t* text; // after the key, with what is then selected and on the clipboard
        const char16_t* selection;
        const char16_t* clipboard;
        int popups = 0;
    };
    // clang-format off
    const Case cases[] = {
        {"Ctrl+Z, nothing to undo", kKeyZ, kCtrlMask, false, false, true, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+Z, the control undoes", kKeyZ, kCtrlMask, false, true, false, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+Shift+Z", kKeyZ, kCtrlMask | kShiftMask, false, false, false, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+V", kKeyV, kCtrlMask, true, false, true, u"abx", u"", u"x"},
        {"Ctrl+Alt+V", kKeyV, kCtrlMask | kAltMask, true, false, false, u"ab\r\ncd", u"\r\ncd", u"x"},
        {"Ctrl+Shift+V", kKeyV, kCtrlMask | kShiftMask, true, false, false, u"ab\r\ncd", u"\r\ncd", u"x"},
        {"Ctrl+C", kKeyC, kCtrlMask, true, false, true, u"ab\r\ncd", u"\r\ncd", u"\r\ncd"},
        {"Ctrl+C, nothing selected", kKeyC, kCtrlMask, false, false, true, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+X", kKeyX, kCtrlMask, true, false, true, u"ab", u"", u"\r\ncd"},
        {"Ctrl+X, nothing selected", kKeyX, kCtrlMask, false, false, true, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+A", kKeyA, kCtrlMask, false, false, true, u"ab\r\ncd", u"ab\r\ncd", u"x"},
        {"Del", kKeyDelete, 0, true, false, true, u"ab", u"", u"x"},
        {"Del, nothing selected: the control's", kKeyDelete, 0, false, false, false, u"ab\r\ncd", u"", u"x"},
        {"Shift+Del, the control's cut", kKeyDelete, kShiftMask, true, false, false, u"ab\r\ncd", u"\r\ncd", u"x"},
        {"Shift+F10 opens the menu, goes on", kKeyF10, kShiftMask, false, false, false, u"ab\r\ncd", u"", u"x", 1},
        {"F10", kKeyF10, 0, false, false, false, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+Shift+F10", kKeyF10, kCtrlMask | kShiftMask, false, false, false, u"ab\r\ncd", u"", u"x"},
        {"Shift+Ins", kInsert, kShiftMask, false, false, false, u"ab\r\ncd", u"", u"x"},
        {"Ctrl+Ins", kInsert, kCtrlMask, true, false, false, u"ab\r\ncd", u"\r\ncd", u"x"},
        {"A", kKeyA, 0, false, false, false, u"ab\r\ncd", u"", u"x"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EditFixture f;
        f.control.Load(u"ab\r\ncd");
        f.clipboard.text = u"x";
        // The menu last opened with the other selection: the shortcuts follow the selection of
        // the moment, not the items' states.
        f.control.Select(c.selected ? 1 : 0, c.selected ? 0 : 2);
        OnEditMenuOpening(f.ed);
        f.control.Select(c.selected ? 2 : 1, c.selected ? 4 : 0);
        f.ed.doc.undoAllowed = c.undoAllowed;
        f.window.editMenuPopups = 0;

        EXPECT_EQ(OnTextKeyDown(f.ed, c.key, c.shift), c.taken) << c.name;
        EXPECT_EQ(f.control.Text(), c.text) << c.name;
        EXPECT_EQ(f.control.SelText(), c.selection) << c.name;
        EXPECT_EQ(f.clipboard.text, c.clipboard) << c.name;
        EXPECT_EQ(f.window.editMenuPopups, c.popups) << c.name;
        EXPECT_EQ(f.control.undos, 0) << c.name;
    }
}

TEST(MainWindowWiring, RoutesTheEditMenuItsOpeningAndTheControlsKeysToTheEditCommands) {
    fakes::EditorWithFakes f;
    f.control.Load(u"abc");
    OnMenuOpening(f.ed, MenuItem::EditMenu);
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::Copy));
    EXPECT_TRUE(f.textEvents.OnKeyDown(kKeyZ, kCtrlMask));
    f.control.Select(0, 3);
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::Cut));
    EXPECT_EQ(f.clipboard.text, u"abc");
    EXPECT_EQ(f.control.Text(), u"");
    EXPECT_TRUE(f.textEvents.OnKeyDown(kKeyV, kCtrlMask));
    EXPECT_EQ(f.control.Text(), u"abc");
    f.textEvents.OnMouseDown(kLeftButton, 0, 10, 10);
    f.textEvents.OnMouseDown(kMiddleButton, 0, 10, 10);
    EXPECT_EQ(f.window.editMenuPopups, 0);
    f.textEvents.OnMouseDown(kRightButton, kShiftMask, 10, 10); // only the right button, any keys held
    EXPECT_EQ(f.window.editMenuPopups, 1);
    f.fontDialog.answer = FontSpec{u"Arial", 18, false, false};
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::Font));
    EXPECT_EQ(f.control.Font().size, 18);
}

TEST(FontCommand, StartsFromTheDocumentFontCancelledChangesNothingAndAChoiceIsAppliedUnmodified) {
    EditFixture f;
    f.control.SetFont({u"Courier New", 12, false, false});
    f.ed.doc.font = {u"Times New Roman", 9, true, true};
    OnFont(f.ed);
    ASSERT_TRUE(f.fontDialog.shownFont.has_value());
    EXPECT_EQ(Fields(*f.fontDialog.shownFont), Fields({u"Times New Roman", 9, true, true}));
    EXPECT_EQ(Fields(f.ed.doc.font), Fields({u"Times New Roman", 9, true, true}));
    EXPECT_TRUE(f.tracker.statesSeen.empty()); // the control was not touched

    f.fontDialog.answer = FontSpec{std::u16string(100, u'x'), 10, true, true};
    OnFont(f.ed);
    const FontSpec kept{std::u16string(79, u'x'), 10, true, true}; // the face name is cut to 79
    EXPECT_EQ(Fields(f.ed.doc.font), Fields(kept));
    EXPECT_EQ(Fields(f.control.Font()), Fields(kept));
    EXPECT_EQ(f.tracker.statesSeen, std::vector<bool>(4, true)); // each write, as the program's
    EXPECT_FALSE(f.ed.doc.changingControl);
    EXPECT_FALSE(f.ed.doc.modified);
    EXPECT_FALSE(f.ed.doc.undoAllowed);
}

const Strings kNotFound{u"Текст не найден."};

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
        EditFixture w;
        w.control.Load(std::u16string(c.text));
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

// The dialog's layouts are checked end to end (its caption); F3 before any search says nothing.
TEST(Search, F3BeforeAnySearchSearchesNothing) {
    EditFixture w;
    w.control.Load(u"text");
    OnFindNext(w.ed);
    EXPECT_EQ(w.findDialog.layouts, std::vector<FindLayout>{FindLayout::Find});
    EXPECT_TRUE(w.messages.shown.empty());
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
        EditFixture w;
        w.control.Load(c.text);
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
    EditFixture w;
    w.control.Load(u"xxxxxxxx one");
    ASSERT_TRUE(FindFirst(w.ed, u"one"));
    w.control.Load(u"one two one"); // opened: shorter than where F3 would go on
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
        EditFixture w;
        w.control.Load(u"text");
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
    EditFixture w;
    w.control.Load(u"x abc\r\ny");
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
        EditFixture w;
        w.control.Load(u"abab");
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
    EditFixture w;
    w.control.Load(u"one two");
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

} // namespace
} // namespace quillet
