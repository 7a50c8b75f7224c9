#include "editor/edit/keyboard_layout.h"

namespace quillet {

int32_t LayoutCodeFromName(std::string_view name) {
    // The platform fills a buffer of nine; only the text before its first NUL counts.
    name = name.substr(0, name.find('\0'));
    if (name.empty() || name.size() > 8)
        return 0;
    bool decimal = true;
    uint32_t hex = 0;
    int32_t dec = 0;
    for (char c : name) {
        uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = uint32_t(c - '0');
        else if (c >= 'A' && c <= 'F')
            digit = uint32_t(c - 'A' + 10);
        else if (c >= 'a' && c <= 'f')
            digit = uint32_t(c - 'a' + 10);
        else
            return 0;
        if (digit > 9)
            decimal = false;
        hex = hex * 16 + digit;
        if (decimal)
            dec = dec * 10 + int32_t(digit); // eight digits fit
    }
    if (decimal)
        return dec;
    return static_cast<int32_t>(0x80000000u | hex);
}

int32_t CurrentLayoutCode(Editor& editor) {
    return LayoutCodeFromName(editor.ports.layouts.ActiveLayoutName());
}

uint32_t SwitchLayout(Editor& editor) {
    // The new layout is inferred: after English comes Russian and after Russian English, which
    // holds when those two are the only ones loaded.
    uint32_t before = editor.ports.layouts.ActivateNext();
    int32_t code = 0;
    if (before == kHandleEnglishUs)
        code = kLayoutRussian;
    else if (before == kHandleRussian)
        code = kLayoutEnglish;
    ShowLayoutCaption(editor, code);
    return before;
}

std::u16string_view LayoutCaption(int32_t code) {
    if (code == kLayoutRussian)
        return u"Раскладка клавиатуры русская";
    if (code == kLayoutEnglish)
        return u"Раскладка клавиатуры английская";
    return u"Раскладка клавиатуры неизвестная";
}

void ShowLayoutCaption(Editor& editor, int32_t code) {
    editor.Window().SetMenuCaption(MenuItem::KeyboardLayout, LayoutCaption(code));
}

void OnKeyboardLayout(Editor& editor) {
    SwitchLayout(editor);
}

} // namespace quillet
