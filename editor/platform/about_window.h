#pragma once
// The About window. AboutBox shows it modally over the main window and returns when
// it has closed; AboutWindow is the open window as its handlers drive it.

#include "editor/platform/main_window.h"

namespace quillet {

class AboutWindow {
public:
    virtual ~AboutWindow() = default;
    virtual void SetPointer(Pointer pointer) = 0; // over the whole window, link included
    virtual void Close() = 0;
};

class AboutBox {
public:
    virtual ~AboutBox() = default;
    virtual void ShowModal() = 0;
};

} // namespace quillet
