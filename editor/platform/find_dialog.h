#pragma once
// Shows the find/replace dialog modally over the main window and returns once it has closed.
// The dialog does its work through the find commands.

namespace quillet {

enum class FindLayout { Find, Replace };

class FindDialog {
public:
    virtual ~FindDialog() = default;
    virtual void ShowModal(FindLayout layout) = 0;
};

} // namespace quillet
