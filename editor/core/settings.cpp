#include "editor/core/settings.h"

#include "editor/core/raskladka.h"

namespace quillet {

std::u16string ReadSettingText(Editor& ed, std::u16string_view key) {
    return ed.ports.settings->Read(kSettingsApp, kSettingsSection, key);
}

int32_t ReadSettingNumber(Editor& ed, std::u16string_view key) {
    return ParseSettingNumber(ReadSettingText(ed, key));
}

Bool16 ReadSettingBool(Editor& ed, std::u16string_view key) {
    return ReadSettingText(ed, key).empty() ? kFalse : kTrue;
}

void ReadFontSettings(Editor& ed) {
    DocumentState& doc = ed.doc;
    doc.FontName = ReadSettingText(ed, u"FontName");
    if (doc.FontName.empty())
        doc.FontName = kDefaultFontName;
    doc.FontSize = ReadSettingNumber(ed, u"FontSize");
    // The control takes sizes from 1 to its maximum; anything else would leave it unreadable.
    if (doc.FontSize <= 0 || doc.FontSize > kMaxFontSize)
        doc.FontSize = kDefaultFontSize;
    doc.FontBold = ReadSettingBool(ed, u"FontBold");
    doc.FontItalic = ReadSettingBool(ed, u"FontItalic");
}

void SaveSettings(Editor& ed) {
    const DocumentState& doc = ed.doc;
    auto write = [&](std::u16string_view key, std::u16string_view value) {
        ed.ports.settings->Write(kSettingsApp, kSettingsSection, key, value);
    };
    auto boolText = [](bool value) { return std::u16string_view(value ? kTrueText : u""); };
    write(u"FontName", doc.FontName);
    write(u"FontSize", ToDecimalText(doc.FontSize));
    write(u"FontBold", boolText(doc.FontBold == kTrue));
    write(u"FontItalic", boolText(doc.FontItalic == kTrue));
    write(u"Klava", ToDecimalText(CurrentLayoutCode(ed)));
    write(u"PerenosSlov", boolText(ed.Window().MenuChecked(MenuItem::mFormatPerenosSlov)));
    write(u"Width", ToDecimalText(doc.NormalWidth));
    write(u"Height", ToDecimalText(doc.NormalHeight));
    write(u"WindowState", ToDecimalText(static_cast<int16_t>(ed.Window().State())));
}

} // namespace quillet
