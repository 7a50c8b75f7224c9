// Start-up, the stored settings, the keyboard layout and the main window's own events, on fakes.

#include "editor/app/commands.h"
#include "editor/app/main_window_events.h"
#include "editor/app/settings.h"
#include "editor/app/startup.h"
#include "editor/base/rounding.h"
#include "editor/document/document.h"
#include "editor/edit/keyboard_layout.h"
#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

namespace quillet {
namespace {

using fakes::EditorWithFakes;
using fakes::FakeMainWindow;
using fakes::kEnglishUs;
using fakes::kRussian;
using fakes::kUkrainian;

TEST(Startup, AFirstRunWithoutArgumentsIsUntitledWithTheBuiltInSizeNoWrapAndTheDefaultFont) {
    EditorWithFakes f;
    f.window.caption = kAppTitle; // as the window is created
    const int32_t builtInWidth = f.window.width, builtInHeight = f.window.height;
    RunStartup(f.ed, u"/opt/quillet", u"");
    EXPECT_EQ(f.ed.doc.programFolder, u"/opt/quillet/");
    EXPECT_EQ(f.ed.doc.pathSeparator, u"/");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"/opt/quillet/");
    EXPECT_EQ(f.ed.doc.path, u"");
    EXPECT_EQ(f.window.caption, u"Квиллет");
    EXPECT_EQ(f.files.reads, 0);
    EXPECT_EQ(f.window.shows, 1);
    EXPECT_EQ(std::pair(f.window.width, f.window.height), std::pair(builtInWidth, builtInHeight));
    EXPECT_EQ(std::pair(f.ed.doc.normalWidth, f.ed.doc.normalHeight), std::pair(builtInWidth, builtInHeight));
    EXPECT_EQ(f.window.state, WindowState::Normal);
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_FALSE(f.control.wordWrap);
    EXPECT_EQ(f.control.Font().name, u"MS Sans Serif");
    EXPECT_EQ(f.control.Font().size, 12);
    EXPECT_FALSE(f.control.Font().bold || f.control.Font().italic);

    EditorWithFakes g; // a folder already ending in its separator keeps one
    RunStartup(g.ed, u"C:\\", u"");
    EXPECT_EQ(g.ed.doc.programFolder, u"C:\\");
}

TEST(Startup, AMissingDocumentIsReportedBeforeTheWindowAppearsThenTheWindowIsUntitled) {
    EditorWithFakes f;
    f.window.caption = kAppTitle;
    bool visibleDuringMessage = true;
    f.messages.onShow = [&] { visibleDuringMessage = f.window.visible; };
    RunStartup(f.ed, u"C:\\Quillet", u"\"C:\\нет.txt\"");
    EXPECT_EQ(f.messages.Seen(), std::vector<std::u16string>{u"Файл \"C:\\нет.txt\" не найден. [!]"});
    EXPECT_FALSE(visibleDuringMessage);
    EXPECT_TRUE(f.window.visible);
    EXPECT_EQ(f.window.caption, u"Квиллет");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\Quillet\\");
    EXPECT_EQ(f.ed.doc.path, u"");

    EditorWithFakes g; // two quoted paths are one path
    g.files.files[u"C:\\a.txt"] = "a";
    RunStartup(g.ed, u"C:\\Quillet", u"\"C:\\a.txt\" \"C:\\b.txt\"");
    EXPECT_EQ(g.messages.Seen(),
              std::vector<std::u16string>{u"Файл \"C:\\a.txt\" \"C:\\b.txt\" не найден. [!]"});
}

TEST(Startup, StoredSizesBeyondTheWorkAreaAreShrunkAndNonPositiveOnesIgnored) {
    EditorWithFakes f;
    f.settings.Set(u"Width", u"99999");
    f.settings.Set(u"Height", u"88888");
    RunStartup(f.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(f.window.width, f.window.workWidth);
    EXPECT_EQ(f.window.height, f.window.workHeight);

    EditorWithFakes g;
    int32_t builtInWidth = g.window.width;
    int32_t builtInHeight = g.window.height;
    g.settings.Set(u"Width", u"-100");
    g.settings.Set(u"Height", u"wide");
    g.settings.Set(u"WindowState", u"1");
    RunStartup(g.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(g.window.width, builtInWidth);
    EXPECT_EQ(g.window.height, builtInHeight);
    EXPECT_EQ(g.window.state, WindowState::Normal);
}

TEST(SettingNumber, ReadsTheLeadingDecimalNumberRoundsHalvesToEvenAndClampsToThirtyTwoBits) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    struct Case {
        std::u16string_view text;
        int32_t value;
    };
    // clang-format off
    const Case cases[] = {
        {u"12", 12}, {u"", 0}, {u"abc", 0}, {u"12.5", 12}, {u"13.5", 14}, {u"10.5", 10}, {u"11.5", 12},
        {u"0.4", 0}, {u"0.5", 0}, {u"1.5", 2}, {u"0.51", 1}, {u"12.50001", 13}, {u"-2.5", -2},
        {u"-3.5", -4}, {u"-0.4", 0}, {u"+7", 7}, {u"007", 7}, {u"12abc", 12}, {u"12.5.7", 12}, {u"1 2", 1},
        {u".5", 0}, {u".51", 1}, {u"5.", 5}, {u"-", 0}, {u".", 0}, {u"1e3", 1000}, {u"1E3", 1000},
        {u"15e-1", 2}, {u"25e-1", 2}, {u"2.5e+1", 25}, {u"1e", 1}, {u"1e+", 1}, {u"1ex", 1}, {u"5e-1", 0},
        {u"5e-2", 0}, {u"0x1F", 0}, {u"419", 419}, {u"7230", 7230}, {u"0.000000000006e12", 6},
        {u"2147483647", kMax}, {u"2147483646.5", 2147483646}, {u"2147483647.5", kMax},
        {u"2147483648", kMax}, {u"-2147483648", kMin}, {u"-2147483649", kMin},
        {u"99999999999999999999999", kMax}, {u"1e999999999999999999", kMax}, {u"-1e40", kMin},
        {u"1e-999999999999", 0}, {u"0e999999", 0},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ParseSettingNumber(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(SettingNumber, RoundHalfEvenRoundsTiesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(7230.4), 7230);
    EXPECT_EQ(RoundHalfEven(1e12), std::numeric_limits<int32_t>::max());
}

TEST(FontSettings, AnyStoredTextReadsAsTrueAndSizesTheControlCannotTakeFallBackToTwelve) {
    EditorWithFakes f;
    f.settings.Set(u"FontBold", u"0");
    f.settings.Set(u"FontItalic", u"False");
    f.settings.Set(u"FontName", u"Arial");
    ReadFontSettings(f.ed);
    EXPECT_TRUE(f.ed.doc.font.bold);
    EXPECT_TRUE(f.ed.doc.font.italic);
    EXPECT_EQ(f.ed.doc.font.name, u"Arial");

    struct Case {
        std::u16string_view stored;
        int32_t size;
    };
    // clang-format off
    for (Case c : {Case{u"10.5", 10}, {u"11.5", 12}, {u"0.4", 12}, {u"0", 12}, {u"-5", 12}, {u"1638", 1638},
                   {u"1639", 12}, {u"99999999999", 12}, {u"1", 1}, {u"big", 12}}) {
        // clang-format on
        f.settings.Set(u"FontSize", c.stored);
        ReadFontSettings(f.ed);
        EXPECT_EQ(f.ed.doc.font.size, c.size) << std::string(c.stored.begin(), c.stored.end());
    }
}

// What one run writes as it closes, the next start applies before it opens the document it is
// given, which is then the unmodified current document.
TEST(SaveSettings, WritesTheNineKeysFromTheStateAndTheNextStartAppliesThemAndOpensTheDocument) {
    EditorWithFakes first;
    first.settings.Set(u"Klava", u"419"); // Russian is active: no switch
    RunStartup(first.ed, u"C:\\Quillet", u"");
    first.ed.doc.font = {u"Arial", 14, true, false};
    first.ed.doc.wordWrap = true;
    first.window.SetOuterWidth(8000);
    first.window.SetOuterHeight(6000);
    first.window.Maximize();
    SaveSettings(first.ed);
    EXPECT_EQ(first.settings.Get(u"FontName"), u"Arial");
    EXPECT_EQ(first.settings.Get(u"FontSize"), u"14");
    EXPECT_EQ(first.settings.Get(u"FontBold"), u"INI");
    EXPECT_TRUE(first.settings.Has(u"FontItalic")); // false is written as "", never deleted
    EXPECT_EQ(first.settings.Get(u"FontItalic"), u"");
    EXPECT_EQ(first.settings.Get(u"Klava"), u"419");
    EXPECT_EQ(first.settings.Get(u"PerenosSlov"), u"INI");
    EXPECT_EQ(first.settings.Get(u"Width"), u"8000");
    EXPECT_EQ(first.settings.Get(u"Height"), u"6000");
    EXPECT_EQ(first.settings.Get(u"WindowState"), u"2");

    EditorWithFakes f;
    f.settings.values = first.settings.values;
    f.layouts.active = 0; // English active, Russian stored
    f.ed.search.history = {u"left over"};
    f.files.files[u"C:\\docs\\a.txt"] = "text";
    RunStartup(f.ed, u"C:\\Program Files\\Quillet", u"\"C:\\docs\\a.txt\"");
    EXPECT_EQ(f.control.Text(), u"text");
    const FontSpec font = f.control.Font();
    EXPECT_EQ(std::tuple(font.name, font.size, font.bold, font.italic),
              std::tuple(u"Arial", 14, true, false));
    EXPECT_EQ(f.layouts.switches, 1); // to the stored layout, once
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000419");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), u"Раскладка клавиатуры русская");
    EXPECT_TRUE(f.control.wordWrap && f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_EQ(f.window.state, WindowState::Maximized);
    EXPECT_EQ(std::tuple(f.ed.doc.normalWidth, f.ed.doc.normalHeight), std::tuple(8000, 6000));
    EXPECT_EQ(std::tuple(f.window.width, f.window.height), std::tuple(8000, 6000)); // restoring gives them
    EXPECT_EQ(f.window.shows, 1);
    EXPECT_EQ(f.ed.doc.programFolder, u"C:\\Program Files\\Quillet\\");
    EXPECT_EQ(f.ed.doc.pathSeparator, u"\\");
    EXPECT_TRUE(f.ed.search.history.empty());
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\docs\\"); // the loaded document's folder
    EXPECT_FALSE(f.ed.doc.changingControl);
    EXPECT_FALSE(f.ed.doc.modified); // the font writes do not count as edits
    EXPECT_FALSE(f.ed.doc.undoAllowed);
    EXPECT_EQ(f.window.caption, u" a.txt - Квиллет");
}

TEST(SaveSettings, StoresFalseAsEmptyTextAndAMinimisedWindowAsStateOneThatStartsNormal) {
    EditorWithFakes f;
    RunStartup(f.ed, u"C:\\Quillet", u""); // first run: wrap goes off
    f.window.state = WindowState::Minimized;
    SaveSettings(f.ed);
    EXPECT_EQ(f.settings.Get(u"PerenosSlov"), u"");
    EXPECT_EQ(f.settings.Get(u"WindowState"), u"1");
    EditorWithFakes next;
    next.settings.values = f.settings.values;
    RunStartup(next.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(next.window.state, WindowState::Normal);
    EXPECT_FALSE(next.window.MenuChecked(MenuItem::WordWrap));
}

constexpr std::u16string_view kRussianCaption = u"Раскладка клавиатуры русская";
constexpr std::u16string_view kEnglishCaption = u"Раскладка клавиатуры английская";
constexpr std::u16string_view kUnknownCaption = u"Раскладка клавиатуры неизвестная";

TEST(LayoutCode, ReadsTheLayoutNameAsADecimalNumber) {
    EXPECT_EQ(LayoutCodeFromName("00000419"), 419);
    EXPECT_EQ(LayoutCodeFromName("00000409"), 409);
    EXPECT_EQ(LayoutCodeFromName("00020409"), 20409);
    EXPECT_EQ(LayoutCodeFromName(std::string_view("00000419\0\0", 10)), 419); // up to the first NUL
    EXPECT_EQ(LayoutCodeFromName(""), 0);
    EXPECT_EQ(LayoutCodeFromName("junk"), 0);
}

TEST(LayoutCode, ANameWithHexadecimalLettersGivesACodeOfItsOwnThatNoKnownLayoutHas) {
    int32_t french = LayoutCodeFromName("0000040C");
    int32_t other = LayoutCodeFromName("0000040D");
    EXPECT_NE(french, 409);
    EXPECT_NE(french, 419);
    EXPECT_NE(french, 0);
    EXPECT_NE(french, other);
    EXPECT_LT(french, 0); // never equal to what a decimal name gives
    EXPECT_EQ(french, LayoutCodeFromName("0000040c"));
    EXPECT_LT(LayoutCodeFromName("E0010411"), 0);

    // Stored at exit and read back at the next start, it is recognised: no switch.
    EditorWithFakes f;
    f.layouts.layouts = {{"0000040C", 0x040C040Cu}, kRussian};
    f.layouts.active = 0;
    SaveSettings(f.ed);
    EditorWithFakes next;
    next.settings.values = f.settings.values;
    next.layouts.layouts = f.layouts.layouts;
    next.layouts.active = 0;
    RunStartup(next.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(next.layouts.switches, 0);
    EXPECT_EQ(next.window.MenuCaption(MenuItem::KeyboardLayout), kUnknownCaption);
}

// F9 goes round the ring; the caption names the layout switched to, inferred from the one left
// when there are three, and unknown when the switch fails.
TEST(SwitchLayout, GoesRoundTheRingAndTheCaptionFollows) {
    EditorWithFakes f; // English, Russian; Russian active
    OnKeyboardLayout(f.ed);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kEnglishCaption);
    OnKeyboardLayout(f.ed);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000419");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kRussianCaption);

    f.layouts.layouts = {kEnglishUs, kRussian, kUkrainian};
    f.layouts.active = 1;
    SwitchLayout(f.ed); // Russian -> Ukrainian, inferred as English
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kEnglishCaption);
    SwitchLayout(f.ed); // Ukrainian -> English
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000409");
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kUnknownCaption);
    SwitchLayout(f.ed); // English -> Russian
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kRussianCaption);

    f.layouts.failActivate = true;
    SwitchLayout(f.ed);
    EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kUnknownCaption);
    EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000419");
    for (int32_t code : {0, 1049, 20409, -1})
        EXPECT_EQ(LayoutCaption(code), kUnknownCaption);
}

TEST(StartupLayout, AFirstRunSwitchesToRussianAndAnUnknownStoredLayoutThatIsActiveIsKept) {
    for (size_t active : {0u, 1u}) {
        EditorWithFakes f; // first run: nothing stored, whichever layout is active
        f.layouts.active = active;
        RunStartup(f.ed, u"C:\\Quillet", u"");
        EXPECT_EQ(f.layouts.switches, 1);
        EXPECT_NE(f.window.MenuCaption(MenuItem::KeyboardLayout), u"Раскладка клавиатуры");
    }
    {
        EditorWithFakes f; // an unknown layout stored as 20409 and active again
        f.layouts.layouts = {{"00020409", 0xF0020409u}, kRussian};
        f.layouts.active = 0;
        SaveSettings(f.ed);
        EXPECT_EQ(f.settings.Get(u"Klava"), u"20409");
        RunStartup(f.ed, u"C:\\Quillet", u"");
        EXPECT_EQ(f.layouts.switches, 0);
        EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kUnknownCaption);
    }
}

TEST(Resize, FillsTheClientAreaAndRemembersOnlyTheNormalOuterSize) {
    EditorWithFakes f;
    f.window.width = 9000;
    f.window.height = 7000;
    OnResize(f.ed);
    EXPECT_EQ(f.control.bounds.left, 0);
    EXPECT_EQ(f.control.bounds.top, 0);
    EXPECT_EQ(f.control.bounds.width, 9000 - FakeMainWindow::kFrameWidth);
    EXPECT_EQ(f.control.bounds.height, 7000 - FakeMainWindow::kFrameHeight);
    EXPECT_EQ(f.ed.doc.normalWidth, 9000);
    EXPECT_EQ(f.ed.doc.normalHeight, 7000);

    f.window.Maximize(); // fills the work area, keeps the normal size
    EXPECT_EQ(f.control.bounds.width, f.window.workWidth - FakeMainWindow::kFrameWidth);
    EXPECT_EQ(f.ed.doc.normalWidth, 9000);
    EXPECT_EQ(f.ed.doc.normalHeight, 7000);

    f.window.state = WindowState::Minimized;
    f.control.bounds = {};
    f.window.Resized();
    EXPECT_EQ(f.control.bounds.width, 0); // nothing moves while minimised
    EXPECT_EQ(f.ed.doc.normalWidth, 9000);
}

TEST(ChangeTracking, EveryChangeMarksModifiedUnlessTheProgramIsChangingTheControl) {
    EditorWithFakes f;
    f.window.SetCaption(kAppTitle);
    f.control.SetSelText(u"а");
    EXPECT_TRUE(f.ed.doc.modified);
    EXPECT_TRUE(f.ed.doc.undoAllowed);
    EXPECT_EQ(f.window.caption, kAppTitle); // editing never changes the caption

    EditorWithFakes g;
    {
        ProgramChangingControl changing(g.ed.doc);
        g.control.SetFontSize(20);
        g.control.SetText(u"x");
    }
    EXPECT_FALSE(g.ed.doc.modified);
    EXPECT_FALSE(g.ed.doc.undoAllowed);
    g.control.SetFontBold(true); // the guard has ended
    EXPECT_TRUE(g.ed.doc.modified);
}

// Modified documents on closing are the save-changes table's; here the close itself.
TEST(Closing, ExitAsksTheWindowToCloseAndAnUnmodifiedDocumentClosesAtOnceWritingTheSettings) {
    EditorWithFakes f;
    RunStartup(f.ed, u"C:\\Quillet", u"");
    OnExit(f.ed);
    EXPECT_EQ(f.window.closeRequests, 1);
    EXPECT_TRUE(f.closed);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.settings.writes.size(), 9u);
}

TEST(Commands, EveryItemRunsThroughTheTableAndTheMenusRunNothing) {
    EditorWithFakes f;
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::KeyboardLayout));
    EXPECT_EQ(f.layouts.switches, 1);
    f.ed.doc.wordWrap = true;
    for (bool wrap : {false, true}) { // shown on the control and the menu, no edit
        EXPECT_TRUE(RunCommand(f.ed, MenuItem::WordWrap));
        EXPECT_EQ(std::tuple(f.ed.doc.wordWrap, f.control.wordWrap, f.window.MenuChecked(MenuItem::WordWrap)),
                  std::tuple(wrap, wrap, wrap));
    }
    EXPECT_FALSE(f.ed.doc.modified);
    EXPECT_FALSE(RunCommand(f.ed, MenuItem::FileMenu));
    f.ed.doc.path = u"C:\\a.txt"; // Save As asks for a name even for a titled document
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::SaveAs));
    EXPECT_EQ(f.fileDialogs.shown.size(), 1u);
}

} // namespace
} // namespace quillet
