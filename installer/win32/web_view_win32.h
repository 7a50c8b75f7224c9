#pragma once
// The platform's web browser hosted as an OLE control in a window. Where no browser engine can be
// had (Wine without its engine, say) it shows the address as a link that opens the default
// browser instead, so the window is never blank, hung or gone.

#include "editor/win32/handles.h"
#include "installer/ports.h"

#include <windows.h>

#include <string>

struct IOleObject;
struct IWebBrowser2;

namespace quillet::installer::win32 {

class BrowserSite;

class WebViewWin32 : public WebView {
public:
    WebViewWin32() = default;
    WebViewWin32(const WebViewWin32&) = delete;
    WebViewWin32& operator=(const WebViewWin32&) = delete;
    ~WebViewWin32() override;

    // Hosts the browser in parent, starting at startAddress. Needs OLE initialised on the thread.
    void Create(HWND parent, std::u16string_view startAddress);
    void Destroy();

    // The DPI of the window's monitor, for the fallback's fonts and margins.
    void SetDpi(int dpi);

    void Navigate(std::u16string_view address, int32_t flags) override;
    void Move(int32_t left, int32_t top, int32_t width, int32_t height) override;

    // Lets the browser see keys meant for it (Tab, arrows...); true when it took the message.
    bool PreTranslate(MSG& msg);
    // The parent's messages about the fallback link: its click, its colour and its pointer.
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    HBRUSH OnControlColor(HDC dc, HWND control);
    bool OnSetCursor(HWND control);

    bool ShowsBrowser() const { return browser_ != nullptr; }
    HWND FallbackNote() const { return note_; }
    HWND FallbackLink() const { return link_; }
    void OpenInDefaultBrowser();

private:
    void ShowFallback(std::u16string_view address);
    void LayOutFallback();
    void MakeFallbackFonts();
    void CloseBrowser();

    HWND parent_ = nullptr;
    int dpi_ = 96;
    RECT bounds_ = {};
    BrowserSite* site_ = nullptr;
    IOleObject* ole_ = nullptr;
    IWebBrowser2* browser_ = nullptr;
    HWND note_ = nullptr;
    HWND link_ = nullptr;
    quillet::win32::GdiFont font_;
    quillet::win32::GdiFont linkFont_;
    std::wstring address_; // the page the fallback link opens
};

} // namespace quillet::installer::win32
