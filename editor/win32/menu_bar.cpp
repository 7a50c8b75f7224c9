#include "editor/win32/menu_bar.h"

#include "editor/core/commands.h"
#include "editor/edit/edit_menu.h"
#include "editor/win32/resource.h"
#include "editor/win32/wide.h"

#include <string>
#include <vector>

namespace quillet::win32 {

namespace {

constexpr MenuEntry kFile[] = {
    {MenuItem::mnuNew, u"&Новый", u"Ctrl+N", 'N', FCONTROL},
    {MenuItem::mnuOpen, u"&Открыть...", u"Ctrl+O", 'O', FCONTROL},
    {MenuItem::mnuSave, u"&Сохранить", u"Ctrl+S", 'S', FCONTROL},
    {MenuItem::mnuSaveAs, u"Сохранить к&ак..", u""},
    {MenuItem::mnuFile, u"", u"", 0, 0, true}, // mnuN3
    {MenuItem::mnuExit, u"Выход", u""},
};

constexpr MenuEntry kEdit[] = {
    {MenuItem::mEditUndo, u"Отменить", u""},
    {MenuItem::mEdit, u"", u"", 0, 0, true}, // mEditSep1
    {MenuItem::mEditCut, u"Вырезать", u"Ctrl+X", 'X', FCONTROL},
    {MenuItem::mEditCopy, u"Копировать", u"Ctrl+C", 'C', FCONTROL},
    {MenuItem::mEditPaste, u"Вставить", u""},
    {MenuItem::mEditDelete, u"Удалить", u"Del", VK_DELETE, 0},
    {MenuItem::mEditSelectAll, u"Выделить всё", u"Ctrl+A", 'A', FCONTROL},
    {MenuItem::mEdit, u"", u"", 0, 0, true}, // mEditSep2
    {MenuItem::mEditFind, u"Найти", u"Ctrl+F", 'F', FCONTROL},
    {MenuItem::mEditFindNext, u"Найти далее…", u"F3", VK_F3, 0},
    {MenuItem::mEditZamenit, u"Заменить", u"Ctrl+H", 'H', FCONTROL},
};

constexpr MenuEntry kFormat[] = {
    {MenuItem::mFormatPerenosSlov, u"Перенос по словам", u""},
    {MenuItem::mFormatFont, u"Шрифт…", u""},
    {MenuItem::mFormatKlava, u"Раскладка клавиатуры", u"F9", VK_F9, 0},
};

constexpr MenuEntry kHelp[] = {
    {MenuItem::HelpCallHelp, u"Вызов справки", u"F1", VK_F1, 0},
    {MenuItem::HelpOprog, u"О программе", u""},
    {MenuItem::HelpMySoft, u"Список моих программ", u""},
};

constexpr MenuDefinition kBar[] = {
    {MenuItem::mnuFile, u"Файл", kFile},
    {MenuItem::mEdit, u"Правка", kEdit},
    {MenuItem::mFormat, u"Формат", kFormat},
    {MenuItem::Help, u"Справка", kHelp},
};

constexpr int kItemCount = int(MenuItem::HelpMySoft) + 1;

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
            if (entry.item == MenuItem::mFormatPerenosSlov)
                flags |= MF_CHECKED; // the control starts out wrapping
            AppendMenuW(popup, flags, CommandId(entry.item), Wide(text));
        }
        std::u16string caption(menu.caption);
        AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Wide(caption));
    }
    return bar;
}

HACCEL BuildAccelerators(const Editor& ed) {
    std::vector<ACCEL> table;
    for (const MenuDefinition& menu : kBar)
        for (const MenuEntry& entry : menu.entries)
            if (!entry.separator && entry.key && CommandReady(ed, entry.item) &&
                !ShortcutFollowsSelection(entry.item))
                table.push_back({BYTE(FVIRTKEY | entry.modifiers), entry.key, WORD(CommandId(entry.item))});
    if (table.empty())
        return nullptr;
    return CreateAcceleratorTableW(table.data(), int(table.size()));
}

} // namespace quillet::win32
