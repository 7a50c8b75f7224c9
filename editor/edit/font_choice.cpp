#include "editor/edit/font_choice.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillet {

namespace {

constexpr uint32_t kFontDialogRecordSize = 60; // the platform record's size in a 32-bit program

int32_t ClampToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

int32_t FontCellHeight(int32_t points, int32_t pixelsPerInch) {
    // Divide first, then multiply, as the font has always been sized; rounding keeps halves even.
    double height = static_cast<double>(points) / 72.0 * static_cast<double>(pixelsPerInch);
    double rounded = std::floor(height);
    double fraction = height - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0))
        rounded += 1.0;
    return ClampToInt32(rounded);
}

int32_t PointSizeTenths(int32_t points) {
    int64_t tenths = static_cast<int64_t>(points) * 10;
    tenths =
        std::clamp<int64_t>(tenths, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(tenths);
}

void CopyFaceName(std::u16string_view name, LogicalFont& font) {
    font.lfFaceName.fill(u'\0');
    size_t length = std::min(name.size(), kFaceNameSize - 1);
    // Never keep half of a surrogate pair.
    if (length > 0 && length < name.size() && IsHighSurrogate(name[length - 1]))
        --length;
    std::copy_n(name.begin(), length, font.lfFaceName.begin());
}

LogicalFont LogicalFontFor(const DocumentState& doc, int32_t pixelsPerInch) {
    LogicalFont font;
    CopyFaceName(doc.FontName, font);
    font.lfHeight = FontCellHeight(doc.FontSize, pixelsPerInch);
    font.lfItalic = doc.FontItalic != kFalse ? 1 : 0;
    if (doc.FontBold != kFalse)
        font.lfWeight = 700;
    return font;
}

FontDialogRecord FontDialogRecordFor(const DocumentState& doc) {
    FontDialogRecord dialog;
    dialog.lStructSize = kFontDialogRecordSize;
    dialog.iPointSize = PointSizeTenths(doc.FontSize);
    dialog.Flags = kCfScreenFonts | kCfInitToLogFontStruct;
    dialog.nFontType = kScreenFontType;
    return dialog;
}

int32_t ChooseDocumentFont(Editor& editor) {
    FontDialog& dialogs = *editor.ports.fontDialog;
    DocumentState& doc = editor.doc;
    LogicalFont font = LogicalFontFor(doc, dialogs.PixelsPerInchY());
    FontDialogRecord dialog = FontDialogRecordFor(doc);
    int32_t result = dialogs.Choose(dialog, font);
    if (result > 0) {
        doc.FontItalic = font.lfItalic != 0 ? kTrue : kFalse;
        doc.FontSize = dialog.iPointSize / 10; // a half point is dropped
        doc.FontBold = (dialog.nFontType & kBoldFontType) != 0 ? kTrue : kFalse;
        // The name of the font the platform really made, which may be a substitute.
        if (auto face = dialogs.CreatedFaceName(font, kMaxFaceNameLength))
            doc.FontName = face->substr(0, kMaxFaceNameLength);
    }
    return result;
}

void ApplyDocumentFont(Editor& editor) {
    DocumentState& doc = editor.doc;
    TextControl& rich = editor.Rich();
    ProgramChangingControl changing(doc);
    rich.SetFontName(doc.FontName);
    rich.SetFontSize(doc.FontSize);
    rich.SetFontBold(doc.FontBold != kFalse);
    rich.SetFontItalic(doc.FontItalic != kFalse);
}

void frmForma_mFormatFont_Click(Editor& editor) {
    if (ChooseDocumentFont(editor) > 0)
        ApplyDocumentFont(editor);
}

} // namespace quillet
