#pragma once
// Component SaveINIm: the nine per-user values kept between runs, and how their text is read.

#include "editor/core/editor.h"
#include "editor/core/setting_number.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr char16_t kSettingsApp[] = u"Quillet";
inline constexpr char16_t kSettingsSection[] = u"INI";
inline constexpr char16_t kTrueText[] = u"INI"; // how a true boolean is stored; false is ""

inline constexpr char16_t kDefaultFontName[] = u"MS Sans Serif";
inline constexpr int32_t kDefaultFontSize = 12;
// The largest size the text control takes, in points; beyond it a stored size falls back.
inline constexpr int32_t kMaxFontSize = 1638;

std::u16string ReadSettingText(Editor& ed, std::u16string_view key);
int32_t ReadSettingNumber(Editor& ed, std::u16string_view key);
Bool16 ReadSettingBool(Editor& ed, std::u16string_view key); // any text at all is true

// FontName, FontSize, FontBold and FontItalic into the document state, with their fallbacks.
void ReadFontSettings(Editor& ed);

// Writes all nine values, in their fixed order, from the in-memory state.
void SaveSettings(Editor& ed);

} // namespace quillet
