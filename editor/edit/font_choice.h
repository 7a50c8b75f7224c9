#pragma once
// The document font: the font dialog's records, the Font command, and putting the font onto
// the text control.

#include "editor/core/editor.h"
#include "editor/platform/font_dialog.h"

#include <cstdint>
#include <string_view>

namespace quillet {

// Longest face name kept from the font the platform created.
inline constexpr size_t kMaxFaceNameLength = 79;

// size ÷ 72 × pixels per inch, in double precision, rounded half to even, kept in 32 bits.
int32_t FontCellHeight(int32_t points, int32_t pixelsPerInch);

// The size in tenths of a point, clamped to 32 bits.
int32_t PointSizeTenths(int32_t points);

// Copies name into a face-name field, cut so that it fits with its terminator without
// splitting a character.
void CopyFaceName(std::u16string_view name, LogicalFont& font);

// The records the dialog starts from, made from the document font.
LogicalFont LogicalFontFor(const DocumentState& doc, int32_t pixelsPerInch);
FontDialogRecord FontDialogRecordFor(const DocumentState& doc);

// Shows the font dialog initialised from the document font and, on OK, stores the choice.
// Returns the dialog's result: nonzero on OK, 0 when cancelled or failed.
int32_t ChooseDocumentFont(Editor& editor);

// Puts the document font onto the control without marking the document modified.
void ApplyDocumentFont(Editor& editor);

// The Font command.
void frmForma_mFormatFont_Click(Editor& editor);

} // namespace quillet
