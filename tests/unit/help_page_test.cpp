#include "fakes/cp1251_codec.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace quillet {
namespace {

// The help page as it ships: Windows-1251 bytes, read back the way a browser told its charset
// would read them.
std::u16string HelpPage(std::string* rawBytes = nullptr) {
    std::string source = __FILE__; // the build passes this file's full path
    std::string root = source.substr(0, source.rfind("tests/unit/"));
    std::ifstream in(root + "editor/help/Справка.htm", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (rawBytes)
        *rawBytes = bytes;
    return fakes::Cp1251Codec().Decode(bytes);
}

std::string Utf8(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out.push_back(char(c));
        } else if (c < 0x800) {
            out.push_back(char(0xC0 | (c >> 6)));
            out.push_back(char(0x80 | (c & 0x3F)));
        } else {
            out.push_back(char(0xE0 | (c >> 12)));
            out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(char(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

TEST(HelpPage, IsWindows1251WithCrLfAndDeclaresItsCharset) {
    std::string bytes;
    std::u16string page = HelpPage(&bytes);
    ASSERT_FALSE(bytes.empty()) << "the help page is missing";
    EXPECT_NE(page.find(u"charset=windows-1251"), std::u16string::npos);
    EXPECT_NE(page.find(u"<html lang=\"ru\">"), std::u16string::npos);
    // Read as Windows-1251 the Russian text is there; a UTF-8 page would read as mojibake.
    EXPECT_NE(page.find(u"Квиллет"), std::u16string::npos);
    size_t lines = 0, crlf = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ++lines;
            crlf += i > 0 && bytes[i - 1] == '\r';
        }
    EXPECT_GT(lines, 50u);
    EXPECT_EQ(crlf, lines);
}

TEST(HelpPage, CoversEveryMenuCommandShortcutTheFindDialogSettingsAndTheLayoutSwitch) {
    std::u16string page = HelpPage();
    const char16_t* expected[] = {
        // Every command of the menu bar, as captioned.
        u"Новый", u"Открыть...", u"Сохранить", u"Сохранить как..", u"Выход", u"Отменить", u"Вырезать",
        u"Копировать", u"Вставить", u"Удалить", u"Выделить всё", u"Найти", u"Найти далее…", u"Заменить",
        u"Перенос по словам", u"Шрифт…", u"Раскладка клавиатуры", u"Вызов справки", u"О программе",
        u"Список моих программ",
        // Their shortcuts, the context menu and the keys of the find dialog.
        u"<kbd>Ctrl</kbd>+<kbd>N</kbd>", u"<kbd>Ctrl</kbd>+<kbd>O</kbd>", u"<kbd>Ctrl</kbd>+<kbd>S</kbd>",
        u"<kbd>Ctrl</kbd>+<kbd>Z</kbd>", u"<kbd>Ctrl</kbd>+<kbd>X</kbd>", u"<kbd>Ctrl</kbd>+<kbd>C</kbd>",
        u"<kbd>Ctrl</kbd>+<kbd>V</kbd>", u"<kbd>Ctrl</kbd>+<kbd>A</kbd>", u"<kbd>Ctrl</kbd>+<kbd>F</kbd>",
        u"<kbd>Ctrl</kbd>+<kbd>H</kbd>", u"<kbd>Del</kbd>", u"<kbd>F3</kbd>", u"<kbd>F9</kbd>",
        u"<kbd>F1</kbd>", u"<kbd>Shift</kbd>+<kbd>F10</kbd>", u"<kbd>Enter</kbd>", u"<kbd>Esc</kbd>",
        // The find dialog and its messages.
        u"Образец:", u"Заменить на:", u"С учётом регистра", u"Заменить всё", u"Отмена", u"Текст не найден.",
        u"Количество замен:",
        // What persists, and the layout switch as its menu item reads.
        u"Что запоминает программа", u"перенос по словам", u"размер окна", u"MS Sans Serif",
        u"Раскладка клавиатуры русская", u"Раскладка клавиатуры английская",
        u"Раскладка клавиатуры неизвестная"};
    for (const char16_t* text : expected)
        EXPECT_NE(page.find(text), std::u16string::npos) << "not covered: " << Utf8(text);
}

} // namespace
} // namespace quillet
