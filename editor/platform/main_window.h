#pragma once
// The main window as the core drives it: caption, menu items, size and state, the Edit menu as
// a context menu, the pointer and the message pump. Sizes are in twips.

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

enum class MenuItem {
    FileMenu,
    New,
    Open,
    Save,
    SaveAs,
    Exit,
    EditMenu,
    Undo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    Find,
    FindNext,
    Replace,
    FormatMenu,
    WordWrap,
    Font,
    KeyboardLayout,
    HelpMenu,
    Help,
    About,
    MyPrograms,
};

enum class WindowState : int16_t { Normal = 0, Minimized = 1, Maximized = 2 };

enum class Pointer { Normal, Busy };

class MainWindow {
public:
    virtual ~MainWindow() = default;

    virtual void SetCaption(std::u16string_view caption) = 0;

    virtual void SetMenuCaption(MenuItem item, std::u16string_view caption) = 0;
    virtual void SetMenuChecked(MenuItem item, bool checked) = 0;
    virtual void SetMenuEnabled(MenuItem item, bool enabled) = 0;

    virtual void Show() = 0; // modeless; raises the resize handler
    virtual WindowState State() const = 0;
    virtual void Maximize() = 0;
    virtual int32_t OuterWidth() const = 0;
    virtual int32_t OuterHeight() const = 0;
    virtual void SetOuterWidth(int32_t twips) = 0;
    virtual void SetOuterHeight(int32_t twips) = 0;
    virtual int32_t ClientWidth() const = 0;
    virtual int32_t ClientHeight() const = 0;
    // The part of the screen a window may use, for keeping stored sizes on screen.
    virtual int32_t WorkAreaWidth() const = 0;
    virtual int32_t WorkAreaHeight() const = 0;

    virtual void RequestClose() = 0;  // as the close box does: the unload handler decides
    virtual void PopupEditMenu() = 0; // EditMenu as a context menu at the pointer
    virtual void PumpMessages() = 0;  // lets waiting window messages be processed
    virtual void SetPointer(Pointer pointer) = 0;
};

} // namespace quillet
