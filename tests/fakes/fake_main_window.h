#pragma once
// The main window in memory: caption, menu, size and state; the test wires the callbacks the
// real window would raise (resize, close request).

#include "editor/platform/main_window.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillet::fakes {

class FakeMainWindow : public MainWindow {
public:
    // The frame around the client area: borders, caption and menu bar, in twips.
    static constexpr int32_t kFrameWidth = 120;
    static constexpr int32_t kFrameHeight = 900;

    void SetCaption(std::u16string_view value) override { caption = value; }

    void SetMenuCaption(MenuItem item, std::u16string_view value) override { menuCaptions[item] = value; }
    std::u16string MenuCaption(MenuItem item) const {
        auto it = menuCaptions.find(item);
        return it == menuCaptions.end() ? std::u16string() : it->second;
    }
    void SetMenuChecked(MenuItem item, bool value) override { checked[item] = value; }
    bool MenuChecked(MenuItem item) const {
        auto it = checked.find(item);
        return it != checked.end() && it->second;
    }
    void SetMenuEnabled(MenuItem item, bool value) override { disabled[item] = !value; }
    bool MenuEnabled(MenuItem item) const {
        auto it = disabled.find(item);
        return it == disabled.end() || !it->second;
    }

    void Show() override {
        visible = true;
        ++shows;
        Resized();
    }
    WindowState State() const override { return state; }
    void Maximize() override {
        state = WindowState::Maximized;
        Resized();
    }
    int32_t OuterWidth() const override { return state == WindowState::Maximized ? workWidth : width; }
    int32_t OuterHeight() const override { return state == WindowState::Maximized ? workHeight : height; }
    void SetOuterWidth(int32_t twips) override {
        width = twips;
        Resized();
    }
    void SetOuterHeight(int32_t twips) override {
        height = twips;
        Resized();
    }
    int32_t ClientWidth() const override { return OuterWidth() - kFrameWidth; }
    int32_t ClientHeight() const override { return OuterHeight() - kFrameHeight; }
    int32_t WorkAreaWidth() const override { return workWidth; }
    int32_t WorkAreaHeight() const override { return workHeight; }

    void RequestClose() override {
        ++closeRequests;
        if (onCloseRequested)
            onCloseRequested();
    }
    void PopupEditMenu() override { ++editMenuPopups; }
    void PumpMessages() override { ++pumps; }
    void SetPointer(Pointer value) override { pointers.push_back(value); }

    void Resized() {
        if (onResize)
            onResize();
    }

    std::u16string caption;
    std::map<MenuItem, std::u16string> menuCaptions;
    std::map<MenuItem, bool> checked;
    std::map<MenuItem, bool> disabled;
    bool visible = false;
    int shows = 0;
    WindowState state = WindowState::Normal;
    int32_t width = 7230 + kFrameWidth;
    int32_t height = 5010 + kFrameHeight;
    int32_t workWidth = 19200; // 1280 x 1024 pixels at 96 dpi, less a taskbar
    int32_t workHeight = 14760;
    int closeRequests = 0;
    int editMenuPopups = 0;
    int pumps = 0;
    std::vector<Pointer> pointers;
    std::function<void()> onResize;
    std::function<void()> onCloseRequested;
};

} // namespace quillet::fakes
