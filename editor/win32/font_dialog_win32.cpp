#include "editor/win32/font_dialog_win32.h"

#include "editor/win32/dpi.h"
#include "editor/win32/handles.h"
#include "editor/win32/wide.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace quillet::win32 {

#ifndef _WIN64
static_assert(sizeof(CHOOSEFONTW) == 60, "the dialog record the editor fills is the 32-bit one");
#endif
static_assert(LF_FACESIZE == kFaceNameSize);

LOGFONTW ToLogFont(const LogicalFont& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.lfHeight;
    lf.lfWidth = font.lfWidth;
    lf.lfEscapement = font.lfEscapement;
    lf.lfOrientation = font.lfOrientation;
    lf.lfWeight = font.lfWeight;
    lf.lfItalic = font.lfItalic;
    lf.lfUnderline = font.lfUnderline;
    lf.lfStrikeOut = font.lfStrikeOut;
    lf.lfCharSet = font.lfCharSet;
    lf.lfOutPrecision = font.lfOutPrecision;
    lf.lfClipPrecision = font.lfClipPrecision;
    lf.lfQuality = font.lfQuality;
    lf.lfPitchAndFamily = font.lfPitchAndFamily;
    std::copy(font.lfFaceName.begin(), font.lfFaceName.end(), lf.lfFaceName);
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    return lf;
}

LogicalFont FromLogFont(const LOGFONTW& lf) {
    LogicalFont font;
    font.lfHeight = lf.lfHeight;
    font.lfWidth = lf.lfWidth;
    font.lfEscapement = lf.lfEscapement;
    font.lfOrientation = lf.lfOrientation;
    font.lfWeight = lf.lfWeight;
    font.lfItalic = lf.lfItalic;
    font.lfUnderline = lf.lfUnderline;
    font.lfStrikeOut = lf.lfStrikeOut;
    font.lfCharSet = lf.lfCharSet;
    font.lfOutPrecision = lf.lfOutPrecision;
    font.lfClipPrecision = lf.lfClipPrecision;
    font.lfQuality = lf.lfQuality;
    font.lfPitchAndFamily = lf.lfPitchAndFamily;
    std::copy(std::begin(lf.lfFaceName), std::end(lf.lfFaceName), font.lfFaceName.begin());
    font.lfFaceName[kFaceNameSize - 1] = u'\0';
    return font;
}

// Every window DC reports the screen's DPI, the owner's included.
int32_t FontDialogWin32::PixelsPerInchY() {
    return ScreenDpi();
}

int32_t FontDialogWin32::Choose(FontDialogRecord& dialog, LogicalFont& font) {
    LOGFONTW lf = ToLogFont(font);
    WindowDc dc(owner_); // released when the dialog is done
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner_;
    cf.hDC = dc;
    cf.lpLogFont = &lf;
    cf.iPointSize = dialog.iPointSize;
    cf.Flags = dialog.Flags;
    cf.rgbColors = dialog.rgbColors;
    cf.lCustData = dialog.lCustData;
    cf.nFontType = dialog.nFontType;
    cf.nSizeMin = dialog.nSizeMin;
    cf.nSizeMax = dialog.nSizeMax;
    BOOL result = ::ChooseFontW(&cf);
    if (result) {
        font = FromLogFont(lf);
        dialog.iPointSize = cf.iPointSize;
        dialog.Flags = cf.Flags;
        dialog.rgbColors = cf.rgbColors;
        dialog.nFontType = cf.nFontType;
    }
    return result ? 1 : 0;
}

std::optional<std::u16string> FontDialogWin32::CreatedFaceName(const LogicalFont& font, size_t maxLength) {
    LOGFONTW lf = ToLogFont(font);
    GdiFont created(::CreateFontIndirectW(&lf)); // deleted last, once deselected
    if (!created)
        return std::nullopt;
    WindowDc dc(owner_);
    if (!dc)
        return std::nullopt;
    SelectInDc selected(dc, created.Get());
    std::vector<wchar_t> buffer(maxLength + 1, L'\0');
    int copied = ::GetTextFaceW(dc, static_cast<int>(buffer.size()), buffer.data());
    if (copied <= 0)
        return std::nullopt;
    size_t length = 0;
    while (length < maxLength && buffer[length] != L'\0')
        ++length;
    return FromWide(std::wstring_view(buffer.data(), length));
}

} // namespace quillet::win32
