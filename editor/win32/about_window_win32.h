#pragma once
// The About window: a modal dialog built in code from its twips layout.

#include "editor/document/editor.h"
#include "editor/platform/about_window.h"

#include <windows.h>

namespace quillet {

class AboutBoxWin32 : public AboutBox {
public:
    // The owner is disabled while the window is up; owned, it gets no taskbar entry.
    explicit AboutBoxWin32(HINSTANCE instance) : instance_(instance) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    // The editor whose handlers the window's link runs; we don't own it.
    void Attach(Editor& editor) { editor_ = &editor; }
    void ShowModal() override;

private:
    HINSTANCE instance_;
    HWND owner_ = nullptr;
    Editor* editor_ = nullptr;
};

// Control identifiers inside the About window, for tests that look at it.
constexpr int IDC_ABOUT_IMAGE = 101;
constexpr int IDC_ABOUT_AUTHOR = 102;
constexpr int IDC_ABOUT_CONTACT = 103;
constexpr int IDC_ABOUT_SITE = 104;
constexpr int IDC_ABOUT_LINK = 105; // the link to the maker's site
constexpr int IDC_ABOUT_VERSION = 106;
constexpr int IDC_ABOUT_DATE = 107;
constexpr int IDC_ABOUT_DATE2 = 108;
constexpr int IDC_ABOUT_BANDS = 109; // the coloured bands

} // namespace quillet
