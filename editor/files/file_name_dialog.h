#pragma once
// The one way the user picks a file name: the Open or Save As dialog.

#include "editor/document/editor.h"

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr char16_t kNameTooLongToSave[] = u"Слишком длинное имя файла: документ не сохранён.";
inline constexpr char16_t kNameTooLongToOpen[] = u"Слишком длинное имя файла: документ не открыт.";

// Shows the dialog in dialogFolder and returns the accepted path; nothing when cancelled or
// failed. A chosen name too long for the dialog is reported. An accepted dialog moves
// dialogFolder to the chosen folder.
std::optional<std::u16string> PickFileName(Editor& editor, FileDialogKind kind,
                                           std::u16string_view initialName);

} // namespace quillet
