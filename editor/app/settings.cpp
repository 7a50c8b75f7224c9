#include "editor/app/settings.h"

#include "editor/edit/keyboard_layout.h"

namespace quillet {

std::u16string ReadSettingText(Editor& editor, std::u16string_view key) {
    return editor.ports.settings.Read(kSettingsApp, kSettingsSection, key);
}

int32_t ReadSettingNumber(Editor& editor, std::u16string_view key) {
    return ParseSettingNumber(ReadSettingText(editor, key));
}

bool ReadSettingBool(Editor& editor, std::u16string_view key) {
    return !ReadSettingText(editor, key).empty();
}

void ReadFontSettings(Editor& editor) {
    DocumentState& doc = editor.doc;
    doc.font.name = ReadSettingText(editor, kFontNameSetting);
    if (doc.font.name.empty())
        doc.font.name = kDefaultFontName;
    doc.font.size = ReadSettingNumber(editor, kFontSizeSetting);
    // The control takes sizes from 1 to its maximum; anything else would leave it unreadable.
    if (doc.font.size <= 0 || doc.font.size > kMaxFontSize)
        doc.font.size = kDefaultFontSize;
    doc.font.bold = ReadSettingBool(editor, kFontBoldSetting);
    doc.font.italic = ReadSettingBool(editor, kFontItalicSetting);
}

void SaveSettings(Editor& editor) {
    const DocumentState& doc = editor.doc;
    auto write = [&](std::u16string_view key, std::u16string_view value) {
        editor.ports.settings.Write(kSettingsApp, kSettingsSection, key, value);
    };
    auto boolText = [](bool value) { return std::u16string_view(value ? kTrueText : u""); };
    write(kFontNameSetting, doc.font.name);
    write(kFontSizeSetting, ToDecimalText(doc.font.size));
    write(kFontBoldSetting, boolText(doc.font.bold));
    write(kFontItalicSetting, boolText(doc.font.italic));
    write(kKeyboardLayoutSetting, ToDecimalText(CurrentLayoutCode(editor)));
    write(kWordWrapSetting, boolText(doc.wordWrap));
    write(kWidthSetting, ToDecimalText(doc.normalWidth));
    write(kHeightSetting, ToDecimalText(doc.normalHeight));
    write(kWindowStateSetting, ToDecimalText(static_cast<int16_t>(editor.Window().State())));
}

} // namespace quillet
