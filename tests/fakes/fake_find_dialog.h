#pragma once
// The find dialog in memory: showing it records the layout and runs what the test scripts as the
// user's actions while it is open.

#include "editor/platform/find_dialog.h"

#include <functional>
#include <vector>

namespace quillet::fakes {

class FakeFindDialog : public FindDialog {
public:
    void ShowModal(FindLayout layout) override {
        layouts.push_back(layout);
        if (onShow)
            onShow();
    }
    std::function<void()> onShow;
    std::vector<FindLayout> layouts; // each time the dialog opened
};

} // namespace quillet::fakes
