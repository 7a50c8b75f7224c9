#pragma once
// The shell's document-opening service: opens a file or a web address with the program the
// system associates with it (verb "Open", shown normally). The outcome is not reported: the
// shell tells the user itself when it cannot open something.

#include <string_view>

namespace quillet {

class Shell {
public:
    virtual ~Shell() = default;
    virtual void Open(std::u16string_view file, std::u16string_view workingFolder) = 0;
};

} // namespace quillet
