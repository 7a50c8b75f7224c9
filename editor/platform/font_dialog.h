#pragma once
// The platform's font dialog and font services, driven by portable images of the platform's
// logical-font and font-dialog records. The adapter copies the records field by field into the
// real ones and back, supplies the handles (owner window, device context), and releases every
// device context and font it obtains before returning.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quillet {

// Room for a face name in the logical-font record, terminator included.
inline constexpr size_t kFaceNameSize = 32;

struct LogicalFont {
    int32_t lfHeight = 0; // positive: cell height in logical pixels
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0; // 0 = no preference, 700 = bold
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    std::array<char16_t, kFaceNameSize> lfFaceName{}; // NUL-terminated
};

// Flags and font types the editor uses.
inline constexpr uint32_t kCfScreenFonts = 0x1;
inline constexpr uint32_t kCfInitToLogFontStruct = 0x40;
inline constexpr uint16_t kBoldFontType = 0x100;
inline constexpr uint16_t kScreenFontType = 0x2000;

// The dialog record without its handles (owner, device context, instance, hook, template, style
// text), which only the adapter can fill: owner is the main window, the rest stay 0.
struct FontDialogRecord {
    uint32_t lStructSize = 0;
    int32_t iPointSize = 0; // tenths of a point
    uint32_t Flags = 0;
    uint32_t rgbColors = 0;
    intptr_t lCustData = 0;
    uint16_t nFontType = 0;
    int32_t nSizeMin = 0;
    int32_t nSizeMax = 0;
};

class FontDialog {
public:
    virtual ~FontDialog() = default;
    // Logical pixels per inch along the height of the main window's display.
    virtual int32_t PixelsPerInchY() = 0;
    // Shows the modal font dialog over the main window, starting from both records. On OK the
    // records hold the choice and the result is nonzero; 0 when cancelled or failed.
    virtual int32_t Choose(FontDialogRecord& dialog, LogicalFont& font) = 0;
    // Creates the font the record describes and returns the face name the platform actually
    // gave it (after any substitution), at most maxLength characters; nothing when the font
    // cannot be created.
    virtual std::optional<std::u16string> CreatedFaceName(const LogicalFont& font, size_t maxLength) = 0;
};

} // namespace quillet
