#include "editor/edit/edit_menu.h"

#include "editor/app/commands.h"
#include "editor/edit/format_menu.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

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

TEST(WordWrapCommand, FlipsTheDocumentsWrapAndShowsItOnTheControlAndTheMenu) {
    EditFixture f;
    f.ed.doc.wordWrap = true;
    for (bool wrap : {false, true}) {
        OnWordWrap(f.ed);
        EXPECT_EQ(f.ed.doc.wordWrap, wrap);
        EXPECT_EQ(f.control.wordWrap, wrap);
        EXPECT_EQ(f.window.MenuChecked(MenuItem::WordWrap), wrap);
    }
    EXPECT_FALSE(f.ed.doc.modified);
}

} // namespace
} // namespace quillet
