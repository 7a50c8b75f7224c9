#pragma once
// Records every request to open a file or address; a hook lets a test look at the world at the
// moment of the call (the page on disk, the pointer).

#include "editor/platform/shell.h"

#include <functional>
#include <string>
#include <vector>

namespace quillet::fakes {

struct ShellOpen {
    std::u16string file;
    std::u16string workingFolder;
};

class FakeShell : public Shell {
public:
    void Open(std::u16string_view file, std::u16string_view workingFolder) override {
        opened.push_back({std::u16string(file), std::u16string(workingFolder)});
        if (onOpen)
            onOpen();
    }

    std::vector<ShellOpen> opened;
    std::function<void()> onOpen;
};

} // namespace quillet::fakes
