#include "editor/win32/menu_bar.h"

#include "editor/app/commands.h"
#include "editor/edit/edit_menu.h"
#include "editor/win32/resource.h"
#include "editor/win32/wide.h"

#include <string>
#include <vector>

namespace quillet::win32 {

namespace {

constexpr MenuEntry kFile[] = {
    {MenuItem::New, u"&Новый", u"Ctrl+N", 'N', FCONTROL},
    {MenuItem::Open, u"&Открыть...", u"Ctrl+O", 'O', FCONTROL},
    {MenuItem::Save, u"&Сохранить", u"Ctrl+S", 'S', FCONTROL},
    {MenuItem::SaveAs, u"Сохранить к&ак..", u""},
    {MenuItem::FileMenu, u"", u"", 0, 0, true}, // separator
    {MenuItem::Exit, u"Выход", u""},
};

constexpr MenuEntry kEdit[] = {
    {MenuItem::Undo, u"Отменить", u""},
    {MenuItem::EditMenu, u"", u"", 0, 0, true}, // separator
    {MenuItem::Cut, u"Вырезать", u"Ctrl+X", 'X', FCONTROL},
    {MenuItem::Copy, u"Копировать", u"Ctrl+C", 'C', FCONTROL},
    {MenuItem::Paste, u"Вставить", u""},
    {MenuItem::Delete, u"Удалить", u"Del", VK_DELETE, 0},
    {MenuItem::SelectAll, u"Выделить всё", u"Ctrl+A", 'A', FCONTROL},
    {MenuItem::EditMenu, u"", u"", 0, 0, true}, // separator
    {MenuItem::Find, u"Найти", u"Ctrl+F", 'F', FCONTROL},
    {MenuItem::FindNext, u"Найти далее…", u"F3", VK_F3, 0},
    {MenuItem::Replace, u"Заменить", u"Ctrl+H", 'H', FCONTROL},
};

constexpr MenuEntry kFormat[] = {
    {MenuItem::WordWrap, u"Перенос по словам", u""},
    {MenuItem::Font, u"Шрифт…", u""},
    {MenuItem::KeyboardLayout, u"Раскладка клавиатуры", u"F9", VK_F9, 0},
};

constexpr MenuEntry kHelp[] = {
    {MenuItem::Help, u"Вызов справки", u"F1", VK_F1, 0},
    {MenuItem::About, u"О программе", u""},
    {MenuItem::MyPrograms, u"Список моих программ", u""},
};

constexpr MenuDefinition kBar[] = {
    {MenuItem::FileMenu, u"Файл", kFile},
    {MenuItem::EditMenu, u"Правка", kEdit},
    {MenuItem::FormatMenu, u"Формат", kFormat},
    {MenuItem::HelpMenu, u"Справка", kHelp},
};

constexpr int kItemCount = int(MenuItem::MyPrograms) + 1;

} // namespace

std::span<const MenuDefinition> MenuBarDefinition() {
    return kBar;
}

UINT CommandId(MenuItem item) {
    return IDM_FIRST + UINT(item);
}

std::optional<MenuItem> ItemFromCommand(UINT id) {
    if (id < IDM_FIRST || id >= UINT(IDM_FIRST + kItemCount))
        return std::nullopt;
    return MenuItem(id - IDM_FIRST);
}

const MenuEntry* FindEntry(MenuItem item) {
    for (const MenuDefinition& menu : kBar)
        for (const MenuEntry& entry : menu.entries)
            if (!entry.separator && entry.item == item)
                return &entry;
    return nullptr;
}

int MenuPosition(MenuItem menu) {
    for (int i = 0; i < int(std::size(kBar)); ++i)
        if (kBar[i].menu == menu)
            return i;
    return -1;
}

HMENU BuildMenuBar() {
    HMENU bar = CreateMenu();
    for (const MenuDefinition& menu : kBar) {
        HMENU popup = CreatePopupMenu();
        for (const MenuEntry& entry : menu.entries) {
            if (entry.separator) {
                AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            std::u16string text(entry.caption);
            if (!entry.shortcut.empty())
                text += u'\t';
            text += entry.shortcut;
            UINT flags = MF_STRING;
            if (entry.item == MenuItem::WordWrap)
                flags |= MF_CHECKED; // the control starts out wrapping
            AppendMenuW(popup, flags, CommandId(entry.item), Wide(text));
        }
        std::u16string caption(menu.caption);
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Wide(caption));
    }
    return bar;
}

HACCEL BuildAccelerators() {
    std::vector<ACCEL> table;
    for (const MenuDefinition& menu : kBar)
        for (const MenuEntry& entry : menu.entries)
            if (!entry.separator && entry.key && !ShortcutFollowsSelection(entry.item))
                table.push_back({BYTE(FVIRTKEY | entry.modifiers), entry.key, WORD(CommandId(entry.item))});
    if (table.empty())
        return nullptr;
    return CreateAcceleratorTableW(table.data(), int(table.size()));
}

} // namespace quillet::win32
