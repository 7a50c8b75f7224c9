#pragma once
// apiOpenSaveM: the one way the user picks a file name, through the Open or Save As dialog.

#include "editor/core/editor.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// The dialogs' name buffer, NUL included: a chosen path holds at most kFileNameBuffer - 1
// characters.
inline constexpr int32_t kFileNameBuffer = 255;

inline constexpr char16_t kNameTooLongToSave[] = u"Слишком длинное имя файла: документ не сохранён.";
inline constexpr char16_t kNameTooLongToOpen[] = u"Слишком длинное имя файла: документ не открыт.";

// The record ShowFileDialog hands to the dialog; an initial name too long for the buffer is
// left out rather than cut, so the dialog never starts on a wrong name.
FileDialogRecord MakeFileDialogRecord(const Editor& editor, bool isSave, std::u16string_view initialName);

// Shows the dialog (isSave nonzero: Save As) and returns the accepted path, or the empty string
// when cancelled or failed; a chosen name too long for the buffer is reported. An accepted dialog moves
// DialogFolder to the chosen folder.
std::u16string ShowFileDialog(Editor& editor, int16_t isSave, std::u16string_view initialName);

} // namespace quillet
