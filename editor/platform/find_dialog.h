#pragma once
// Shows the find/replace dialog modally over the main window and returns once it has closed.
// The dialog reads its layout from EditorState and does its work through the find commands.

namespace quillet {

class FindDialog {
public:
    virtual ~FindDialog() = default;
    virtual void ShowModal() = 0;
};

} // namespace quillet
