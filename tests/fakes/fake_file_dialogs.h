#pragma once
// Scripted file dialogs: each pick takes the next answer, a chosen path or a cancel, and keeps
// what it was asked. With no answer left it cancels.

#include "editor/platform/file_dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillet::fakes {

struct FileDialogRequest {
    FileDialogKind kind;
    std::u16string name;
    std::u16string folder;
};

class FakeFileDialogs : public FileDialogs {
public:
    PickedFile PickFile(FileDialogKind kind, std::u16string_view name, std::u16string_view folder) override {
        shown.push_back({kind, std::u16string(name), std::u16string(folder)});
        if (onShow)
            onShow();
        if (answers.empty() || !answers.front()) {
            if (!answers.empty())
                answers.pop_front();
            return {FileDialogResult::Cancelled, {}};
        }
        std::u16string answer = std::move(*answers.front());
        answers.pop_front();
        // As the system does: a path that does not fit the dialog's buffer fails it.
        if (answer.size() > kMaxPickedPath)
            return {FileDialogResult::NameTooLong, {}};
        return {FileDialogResult::Accepted, std::move(answer)};
    }

    void Choose(std::u16string path) { answers.emplace_back(std::move(path)); }
    void Cancel() { answers.emplace_back(std::nullopt); }

    std::deque<std::optional<std::u16string>> answers;
    std::vector<FileDialogRequest> shown;
    std::function<void()> onShow; // lets a test see the world while the dialog is up
};

} // namespace quillet::fakes
