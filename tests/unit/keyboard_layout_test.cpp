#include "editor/app/settings.h"
#include "editor/app/startup.h"
#include "editor/edit/keyboard_layout.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using fakes::EditorWithFakes;
using fakes::kEnglishUs;
using fakes::kRussian;
using fakes::kUkrainian;

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

TEST(StartupLayout, SwitchesOnceOnlyWhenTheStoredCodeDiffersFromTheActiveLayout) {
    {
        EditorWithFakes f; // Russian active, stored Russian
        f.settings.Set(u"Klava", u"419");
        RunStartup(f.ed, u"C:\\Quillet", u"");
        EXPECT_EQ(f.layouts.switches, 0);
        EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kRussianCaption);
    }
    {
        EditorWithFakes f; // English active, stored Russian
        f.layouts.active = 0;
        f.settings.Set(u"Klava", u"419");
        RunStartup(f.ed, u"C:\\Quillet", u"");
        EXPECT_EQ(f.layouts.switches, 1);
        EXPECT_EQ(f.layouts.ActiveLayoutName(), "00000419");
        EXPECT_EQ(f.window.MenuCaption(MenuItem::KeyboardLayout), kRussianCaption);
    }
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

} // namespace
} // namespace quillet
