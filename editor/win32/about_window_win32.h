#pragma once
// frmOprog, the About window: a modal dialog built in code from its twips layout.

#include "editor/core/editor.h"
#include "editor/platform/about_window.h"

#include <windows.h>

namespace quillet {

class AboutBoxWin32 : public AboutBox {
public:
    // The owner is disabled while the window is up; owned, it gets no taskbar entry.
    AboutBoxWin32(HINSTANCE instance, Editor& ed) : instance_(instance), ed_(ed) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowModal() override;

private:
    HINSTANCE instance_;
    HWND owner_ = nullptr;
    Editor& ed_;
};

// Control identifiers inside the About window, for tests that look at it.
constexpr int IDC_ABOUT_IMAGE = 101;
constexpr int IDC_ABOUT_AUTHOR = 102;
constexpr int IDC_ABOUT_CONTACT = 103;
constexpr int IDC_ABOUT_SITE = 104;
constexpr int IDC_ABOUT_LINK = 105; // Label1
constexpr int IDC_ABOUT_VERSION = 106;
constexpr int IDC_ABOUT_DATE = 107;
constexpr int IDC_ABOUT_DATE2 = 108;
constexpr int IDC_ABOUT_BANDS = 109; // Picture1

} // namespace quillet
