#pragma once
// The main window: a top-level window with the menu bar whose client area is the text
// control. It is the MainWindow port, and it turns its messages into the core's handlers.

#include "editor/document/editor.h"
#include "editor/win32/text_view.h"
#include "editor/win32/window_base.h"

#include <windows.h>

#include <shellapi.h>

#include <string_view>

namespace quillet::win32 {

class MainFrame : public MainWindow, private WindowBase<MainFrame> {
public:
    static constexpr wchar_t kClassName[] = L"QuilletMain";

    explicit MainFrame(TextView& view) : view_(view) {} // we don't own the view
    ~MainFrame() override;
    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;

    // Creates the window hidden, centred, with a client area of 7230 x 5010 twips, the menu
    // bar and the text control.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return hwnd_; }
    // From now on the window's events reach the core's handlers for editor.
    void Attach(Editor& editor);
    // For the message loop: true when msg was a shortcut and has been handled.
    bool TranslateShortcut(MSG& msg);

    // MainWindow
    void SetCaption(std::u16string_view caption) override;
    void SetMenuCaption(MenuItem item, std::u16string_view caption) override;
    void SetMenuChecked(MenuItem item, bool checked) override;
    void SetMenuEnabled(MenuItem item, bool enabled) override;
    void Show() override;
    WindowState State() const override;
    void Maximize() override;
    int32_t OuterWidth() const override;
    int32_t OuterHeight() const override;
    void SetOuterWidth(int32_t twips) override;
    void SetOuterHeight(int32_t twips) override;
    int32_t ClientWidth() const override;
    int32_t ClientHeight() const override;
    int32_t WorkAreaWidth() const override;
    int32_t WorkAreaHeight() const override;
    void RequestClose() override;
    void PopupEditMenu() override;
    void PumpMessages() override;
    void SetPointer(Pointer pointer) override;

    int Dpi() const;

private:
    friend class WindowBase<MainFrame>;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnWindowDestroyed() { menuBar_ = nullptr; } // destroyed with the window
    void OnSize();
    void OnClose();
    BOOL OnQueryEndSession();
    void OnCommand(WPARAM wParam, LPARAM lParam);
    void OnInitMenuPopup(HMENU menu, bool systemMenu);
    bool OnSetCursor();
    void OnDropFiles(HDROP drop);

    // Where an item lives: its popup and whether it is addressed by position (the menus).
    HMENU MenuOf(MenuItem item, UINT& by, UINT& id) const;
    int32_t Twips(int pixels) const;
    int Pixels(int32_t twips) const;
    RECT WorkArea() const;
    void ResizeOuter(int widthPx, int heightPx);

    TextView& view_;
    Editor* editor_ = nullptr;
    HMENU menuBar_ = nullptr; // the window owns it once attached
    HACCEL accelerators_ = nullptr;
    Pointer pointer_ = Pointer::Normal;
    bool unloaded_ = false; // the session's end already ran the unload handler
};

} // namespace quillet::win32
