#pragma once
// The main window frmForma: a top-level window whose client area is the text control.

#include "editor/win32/text_view.h"

#include <windows.h>

#include <string_view>

namespace quillet::win32 {

class MainFrame {
public:
    static constexpr wchar_t kClassName[] = L"QuilletMain";

    explicit MainFrame(TextView& view) : view_(view) {} // we don't own the view
    ~MainFrame();
    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;

    bool Create(HINSTANCE instance);
    HWND Handle() const { return hwnd_; }
    void SetCaption(std::u16string_view caption);

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnSize();

    TextView& view_;
    HWND hwnd_ = nullptr;
};

} // namespace quillet::win32
