#include "editor/edit/font_choice.h"

#include "edit_fixture.h"

#include <gtest/gtest.h>

#include <limits>

namespace quillet {
namespace {

using testing::EditFixture;

std::u16string FaceOf(const LogicalFont& font) {
    return std::u16string(font.lfFaceName.data());
}

TEST(FontCellHeight, DividesThenMultipliesAndRoundsHalvesToEven) {
    EXPECT_EQ(FontCellHeight(12, 96), 16);
    EXPECT_EQ(FontCellHeight(9, 120), 15);
    EXPECT_EQ(FontCellHeight(10, 96), 13); // 13.33
    EXPECT_EQ(FontCellHeight(11, 96), 15); // 14.67
    EXPECT_EQ(FontCellHeight(9, 20), 2);   // exactly 2.5
    EXPECT_EQ(FontCellHeight(9, 28), 4);   // exactly 3.5
    // Dividing first leaves these just under a half, where multiplying first would not.
    EXPECT_EQ(FontCellHeight(23, 180), 57);
    EXPECT_EQ(FontCellHeight(37, 108), 55);
}

TEST(FontCellHeight, StaysWithinThirtyTwoBitsForAbsurdStoredSizes) {
    EXPECT_EQ(FontCellHeight(std::numeric_limits<int32_t>::max(), 96), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(FontCellHeight(std::numeric_limits<int32_t>::min(), 96), std::numeric_limits<int32_t>::min());
}

TEST(PointSizeTenths, ClampsASizeWhoseTenthsOverflow) {
    EXPECT_EQ(PointSizeTenths(12), 120);
    EXPECT_EQ(PointSizeTenths(214748364), 2147483640);
    EXPECT_EQ(PointSizeTenths(214748365), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(PointSizeTenths(std::numeric_limits<int32_t>::min()), std::numeric_limits<int32_t>::min());
}

TEST(CopyFaceName, CutsALongNameToFitWithItsTerminatorWithoutSplittingACharacter) {
    LogicalFont font;
    CopyFaceName(u"Arial", font);
    EXPECT_EQ(FaceOf(font), u"Arial");

    std::u16string longName(40, u'Ш');
    CopyFaceName(longName, font);
    EXPECT_EQ(FaceOf(font), std::u16string(31, u'Ш'));
    EXPECT_EQ(font.lfFaceName[31], u'\0');

    // A character outside the basic plane that would straddle the end is left out whole.
    std::u16string straddling = std::u16string(30, u'a') + u"\U0001D49C" + u"b";
    CopyFaceName(straddling, font);
    EXPECT_EQ(FaceOf(font), std::u16string(30, u'a'));

    CopyFaceName(u"", font);
    for (char16_t c : font.lfFaceName)
        EXPECT_EQ(c, u'\0');
}

TEST(ChooseDocumentFont, StartsTheDialogFromTheDocumentFont) {
    EditFixture f;
    f.editor.doc.FontName = u"Times New Roman";
    f.editor.doc.FontSize = 9;
    f.editor.doc.FontBold = kTrue;
    f.editor.doc.FontItalic = kTrue;
    f.fontDialog.pixelsPerInch = 120;
    f.fontDialog.confirm = false;

    EXPECT_EQ(ChooseDocumentFont(f.editor), 0);

    ASSERT_TRUE(f.fontDialog.shownFont && f.fontDialog.shownDialog);
    const LogicalFont& font = *f.fontDialog.shownFont;
    EXPECT_EQ(font.lfHeight, 15);
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(FaceOf(font), u"Times New Roman");
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, 0);
    EXPECT_EQ(font.lfOutPrecision, 0);
    EXPECT_EQ(font.lfClipPrecision, 0);
    EXPECT_EQ(font.lfQuality, 0);
    EXPECT_EQ(font.lfPitchAndFamily, 0);

    const FontDialogRecord& dialog = *f.fontDialog.shownDialog;
    EXPECT_EQ(dialog.lStructSize, 60u);
    EXPECT_EQ(dialog.iPointSize, 90);
    EXPECT_EQ(dialog.Flags, 0x41u);
    EXPECT_EQ(dialog.nFontType, 0x2000);
    EXPECT_EQ(dialog.rgbColors, 0u);
    EXPECT_EQ(dialog.lCustData, 0);
    EXPECT_EQ(dialog.nSizeMin, 0);
    EXPECT_EQ(dialog.nSizeMax, 0);
}

TEST(ChooseDocumentFont, RegularWeightIsNoPreferenceAndUprightIsZero) {
    EditFixture f;
    f.editor.doc.FontBold = kFalse;
    f.editor.doc.FontItalic = kFalse;
    f.fontDialog.confirm = false;
    ChooseDocumentFont(f.editor);
    EXPECT_EQ(f.fontDialog.shownFont->lfWeight, 0);
    EXPECT_EQ(f.fontDialog.shownFont->lfItalic, 0);
    EXPECT_EQ(f.fontDialog.shownFont->lfHeight, 16);
}

TEST(ChooseDocumentFont, CancellingChangesNothing) {
    EditFixture f;
    f.rich.SetFont({u"Courier New", 12, false, false});
    f.fontDialog.confirm = false;
    f.fontDialog.choose = [](FontDialogRecord& d, LogicalFont&) { d.iPointSize = 200; };

    frmForma_mFormatFont_Click(f.editor);

    EXPECT_EQ(f.fontDialog.shows, 1);
    EXPECT_EQ(f.editor.doc.FontName, u"Courier New");
    EXPECT_EQ(f.editor.doc.FontSize, 12);
    EXPECT_EQ(f.editor.doc.FontBold, kFalse);
    EXPECT_EQ(f.editor.doc.FontItalic, kFalse);
    EXPECT_TRUE(f.tracker.statesSeen.empty()); // the control was not touched
    EXPECT_FALSE(f.fontDialog.createdFrom.has_value());
}

TEST(FontCommand, ConfirmedChoiceIsStoredAndAppliedWithoutMarkingTheDocumentModified) {
    EditFixture f;
    f.editor.doc.EditorState = kStateReplace;
    f.fontDialog.choose = [](FontDialogRecord& d, LogicalFont& font) {
        d.iPointSize = 105; // 10.5 points
        d.nFontType = kScreenFontType | kBoldFontType;
        font.lfWeight = 400; // the bold bit decides, never the weight
        font.lfItalic = 1;
        CopyFaceName(u"Arial", font);
    };

    frmForma_mFormatFont_Click(f.editor);

    const DocumentState& doc = f.editor.doc;
    EXPECT_EQ(doc.FontName, u"Arial");
    EXPECT_EQ(doc.FontSize, 10);
    EXPECT_EQ(doc.FontBold, kTrue);
    EXPECT_EQ(doc.FontItalic, kTrue);
    EXPECT_EQ(FaceOf(*f.fontDialog.createdFrom), u"Arial");

    FontSpec applied = f.rich.Font();
    EXPECT_EQ(applied.name, u"Arial");
    EXPECT_EQ(applied.size, 10);
    EXPECT_TRUE(applied.bold);
    EXPECT_TRUE(applied.italic);
    EXPECT_EQ(f.tracker.statesSeen, (std::vector<int32_t>(4, kStateChangingControl)));
    EXPECT_EQ(doc.Modified, 0);
    EXPECT_EQ(doc.UndoAllowed, 0);
    EXPECT_EQ(doc.EditorState, kStateFind);
}

TEST(FontCommand, HeavyWeightWithoutTheBoldTypeBitIsNotBold) {
    EditFixture f;
    f.editor.doc.FontBold = kTrue;
    f.fontDialog.choose = [](FontDialogRecord& d, LogicalFont& font) {
        d.nFontType = kScreenFontType;
        font.lfWeight = 700;
    };
    frmForma_mFormatFont_Click(f.editor);
    EXPECT_EQ(f.editor.doc.FontBold, kFalse);
    EXPECT_FALSE(f.rich.Font().bold);
}

TEST(FontCommand, StoresTheFaceThePlatformSubstituted) {
    EditFixture f;
    f.fontDialog.substitute = u"Liberation Mono";
    f.fontDialog.choose = [](FontDialogRecord&, LogicalFont& font) { CopyFaceName(u"Courier New", font); };
    frmForma_mFormatFont_Click(f.editor);
    EXPECT_EQ(f.editor.doc.FontName, u"Liberation Mono");
    EXPECT_EQ(f.rich.Font().name, u"Liberation Mono");
}

TEST(FontCommand, KeepsTheOldFaceButTheNewSizeAndStyleWhenTheFontCannotBeCreated) {
    EditFixture f;
    f.fontDialog.failCreate = true;
    f.fontDialog.choose = [](FontDialogRecord& d, LogicalFont& font) {
        d.iPointSize = 140;
        font.lfItalic = 1;
        CopyFaceName(u"Nonexistent", font);
    };
    frmForma_mFormatFont_Click(f.editor);
    EXPECT_EQ(f.editor.doc.FontName, u"Courier New");
    EXPECT_EQ(f.editor.doc.FontSize, 14);
    EXPECT_EQ(f.editor.doc.FontItalic, kTrue);
    EXPECT_EQ(f.rich.Font().name, u"Courier New");
    EXPECT_EQ(f.rich.Font().size, 14);
}

TEST(FontCommand, KeepsAtMostSeventyNineCharactersOfTheCreatedFace) {
    EditFixture f;
    f.fontDialog.substitute = std::u16string(100, u'x');
    frmForma_mFormatFont_Click(f.editor);
    EXPECT_EQ(f.editor.doc.FontName, std::u16string(79, u'x'));
}

TEST(FontCommand, ALongStoredNameStillOpensTheDialog) {
    EditFixture f;
    f.editor.doc.FontName = std::u16string(50, u'Ж');
    f.fontDialog.confirm = false;
    ChooseDocumentFont(f.editor);
    EXPECT_EQ(FaceOf(*f.fontDialog.shownFont), std::u16string(31, u'Ж'));
    EXPECT_EQ(f.editor.doc.FontName, std::u16string(50, u'Ж'));
}

TEST(ApplyDocumentFont, WritesEachPropertyOnceAndAlwaysEndsInStateZero) {
    EditFixture f;
    f.editor.doc.FontName = u"Consolas";
    f.editor.doc.FontSize = 15;
    f.editor.doc.FontBold = kTrue;
    f.editor.doc.FontItalic = kFalse;
    f.editor.doc.EditorState = kStateLoadFailed;
    ApplyDocumentFont(f.editor);
    EXPECT_EQ(f.rich.Font().name, u"Consolas");
    EXPECT_EQ(f.rich.Font().size, 15);
    EXPECT_TRUE(f.rich.Font().bold);
    EXPECT_FALSE(f.rich.Font().italic);
    EXPECT_EQ(f.tracker.statesSeen.size(), 4u);
    EXPECT_EQ(f.editor.doc.EditorState, kStateFind);
    EXPECT_EQ(f.editor.doc.Modified, 0);
}

} // namespace
} // namespace quillet
