#include "editor/app/settings.h"
#include "editor/app/startup.h"
#include "editor/base/rounding.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillet {
namespace {

using fakes::EditorWithFakes;

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

TEST(SettingNumber, DecimalTextRoundTripsEveryValueTheEditorWrites) {
    for (int32_t v :
         {0, 12, 419, 7230, -1, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
        EXPECT_EQ(ParseSettingNumber(ToDecimalText(v)), v);
    EXPECT_EQ(ToDecimalText(-2147483647 - 1), u"-2147483648");
    EXPECT_EQ(ToDecimalText(8000), u"8000");
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

TEST(SaveSettings, WritesTheNineKeysFromTheStateAndTheNextStartAppliesThem) {
    EditorWithFakes first;
    first.settings.Set(u"Klava", u"419"); // Russian is active: no switch
    RunStartup(first.ed, u"C:\\Quillet", u"");
    first.ed.doc.font.name = u"Arial";
    first.ed.doc.font.size = 14;
    first.ed.doc.font.bold = true;
    first.ed.doc.font.italic = false;
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

    EditorWithFakes next;
    next.settings.values = first.settings.values;
    RunStartup(next.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(next.control.Font().name, u"Arial");
    EXPECT_EQ(next.control.Font().size, 14);
    EXPECT_TRUE(next.control.Font().bold);
    EXPECT_TRUE(next.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_EQ(next.window.state, WindowState::Maximized);
    EXPECT_EQ(next.window.width, 8000); // restoring gives the last normal size
    EXPECT_EQ(next.window.height, 6000);
    EXPECT_EQ(next.layouts.switches, 0);
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

} // namespace
} // namespace quillet
