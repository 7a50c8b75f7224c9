#pragma once
// The nine per-user values kept between runs, and how their text is read.

#include "editor/app/setting_number.h"
#include "editor/document/editor.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr char16_t kSettingsApp[] = u"Quillet";
inline constexpr char16_t kSettingsSection[] = u"INI";
inline constexpr char16_t kTrueText[] = u"INI"; // how a true boolean is stored; false is ""

// The stored values' names, in the order they are written.
inline constexpr char16_t kFontNameSetting[] = u"FontName";
inline constexpr char16_t kFontSizeSetting[] = u"FontSize";
inline constexpr char16_t kFontBoldSetting[] = u"FontBold";
inline constexpr char16_t kFontItalicSetting[] = u"FontItalic";
inline constexpr char16_t kKeyboardLayoutSetting[] = u"Klava";
inline constexpr char16_t kWordWrapSetting[] = u"PerenosSlov";
inline constexpr char16_t kWidthSetting[] = u"Width";
inline constexpr char16_t kHeightSetting[] = u"Height";
inline constexpr char16_t kWindowStateSetting[] = u"WindowState";

inline constexpr char16_t kDefaultFontName[] = u"MS Sans Serif";
inline constexpr int32_t kDefaultFontSize = 12;
// The largest size the text control takes, in points; beyond it a stored size falls back.
inline constexpr int32_t kMaxFontSize = 1638;

std::u16string ReadSettingText(Editor& editor, std::u16string_view key);
int32_t ReadSettingNumber(Editor& editor, std::u16string_view key);
bool ReadSettingBool(Editor& editor, std::u16string_view key); // any text at all is true

// The document font from its four values, with their fallbacks.
void ReadFontSettings(Editor& editor);

// Writes all nine values, in their fixed order, from the in-memory state.
void SaveSettings(Editor& editor);

} // namespace quillet
