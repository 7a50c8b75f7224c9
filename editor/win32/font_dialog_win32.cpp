#include "editor/win32/font_dialog_win32.h"

#include "editor/base/rounding.h"
#include "editor/win32/dpi.h"
#include "editor/win32/handles.h"
#include "editor/win32/wide.h"

#include <commdlg.h>

#include <algorithm>
#include <limits>

namespace quillet::win32 {
namespace {

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// The dialog's starting font: the cell height for the display, regular weight as "no
// preference", and the name cut to the record's room without splitting a character.
LOGFONTW LogFontFor(const FontSpec& font, int pixelsPerInch) {
    LOGFONTW lf{};
    lf.lfHeight = RoundHalfEven(double(font.size) / 72.0 * double(pixelsPerInch));
    lf.lfWeight = font.bold ? FW_BOLD : 0;
    lf.lfItalic = font.italic ? 1 : 0;
    size_t length = std::min(font.name.size(), size_t(LF_FACESIZE - 1));
    if (length > 0 && length < font.name.size() && IsHighSurrogate(wchar_t(font.name[length - 1])))
        --length;
    std::copy_n(font.name.begin(), length, lf.lfFaceName);
    return lf;
}

// The face name the platform gives the font it makes for lf, which may be a substitute.
std::optional<std::u16string> CreatedFaceName(HWND owner, const LOGFONTW& lf) {
    GdiFont created(::CreateFontIndirectW(&lf)); // deleted last, once deselected
    if (!created)
        return std::nullopt;
    WindowDc dc(owner);
    if (!dc)
        return std::nullopt;
    SelectInDc selected(dc, created.Get());
    wchar_t face[LF_FACESIZE + 1] = {};
    if (::GetTextFaceW(dc, LF_FACESIZE, face) <= 0)
        return std::nullopt;
    return std::u16string(face, face + wcsnlen(face, LF_FACESIZE));
}

} // namespace

std::optional<FontSpec> FontDialogWin32::PickFont(const FontSpec& current) {
    WindowDc dc(owner_);                            // released when the dialog is done
    LOGFONTW lf = LogFontFor(current, ScreenDpi()); // every window DC reports the screen's DPI
    CHOOSEFONTW cf{};
    cf.lStructSize = sizeof(cf);
    cf.hwndOwner = owner_;
    cf.hDC = dc;
    cf.lpLogFont = &lf;
    cf.iPointSize = int(std::clamp<int64_t>(int64_t(current.size) * 10, std::numeric_limits<int32_t>::min(),
                                            std::numeric_limits<int32_t>::max()));
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    cf.nFontType = SCREEN_FONTTYPE;
    if (!::ChooseFontW(&cf))
        return std::nullopt;

    FontSpec chosen;
    chosen.size = cf.iPointSize / 10;                  // a half point is dropped
    chosen.bold = (cf.nFontType & BOLD_FONTTYPE) != 0; // the type decides, never the weight
    chosen.italic = lf.lfItalic != 0;
    chosen.name = CreatedFaceName(owner_, lf).value_or(current.name);
    return chosen;
}

} // namespace quillet::win32
