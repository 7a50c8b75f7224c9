#pragma once
// Which keyboard layout is active, switching to the next one, and the caption of the menu item
// that names it.

#include "editor/document/editor.h"

#include <cstdint>
#include <string_view>

namespace quillet {

inline constexpr int32_t kLayoutRussian = 419;
inline constexpr int32_t kLayoutEnglish = 409;

// Handles of the layouts a switch can recognise by the one it left.
inline constexpr uint32_t kHandleEnglishUs = 0x04090409u;
inline constexpr uint32_t kHandleRussian = 0x04190419u;

// A layout name read as a decimal number: "00000419" gives 419, "00020409" 20409. A name with
// hexadecimal letters gives a negative code of its own, which no decimal name can give, so it is
// never taken for another layout and a stored one is still recognised at the next start. An
// empty or malformed name gives 0.
int32_t LayoutCodeFromName(std::string_view name);

int32_t CurrentLayoutCode(Editor& editor);
// Activates the next loaded layout and names it in the caption, inferred from the one it left;
// returns the handle of that one (0 when nothing was switched).
uint32_t SwitchLayout(Editor& editor);
void ShowLayoutCaption(Editor& editor, int32_t code);
std::u16string_view LayoutCaption(int32_t code);

// F9: the next layout.
void OnKeyboardLayout(Editor& editor);

} // namespace quillet
