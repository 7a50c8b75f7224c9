#pragma once
// The About window in memory: showing it runs whatever the test scripts as the user's actions
// while it is open; the pointers set and the closes are recorded.

#include "editor/platform/about_window.h"

#include <functional>
#include <vector>

namespace quillet::fakes {

class FakeAboutWindow : public AboutWindow {
public:
    void SetPointer(Pointer value) override { pointers.push_back(value); }
    void Close() override {
        open = false;
        ++closes;
    }

    bool open = false;
    int closes = 0;
    std::vector<Pointer> pointers;
};

class FakeAboutBox : public AboutBox {
public:
    void ShowModal() override {
        ++shows;
        window = FakeAboutWindow();
        window.open = true;
        if (whileOpen)
            whileOpen(window);
    }

    int shows = 0;
    FakeAboutWindow window;
    std::function<void(FakeAboutWindow&)> whileOpen;
};

} // namespace quillet::fakes
