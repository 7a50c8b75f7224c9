#pragma once
// Scripted file dialogs: each Show takes the next answer, a chosen path or a cancel, and keeps
// the record it was given. With no answer left it cancels.

#include "editor/platform/file_dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillet::fakes {

class FakeFileDialogs : public FileDialogs {
public:
    FileDialogResult Show(FileDialogRecord& record) override {
        shown.push_back(record);
        if (onShow)
            onShow();
        if (answers.empty())
            return FileDialogResult::Cancelled;
        std::optional<std::u16string> answer = answers.front();
        answers.pop_front();
        if (!answer)
            return FileDialogResult::Cancelled;
        // As the system does: a path that does not fit the buffer with its NUL fails the dialog.
        if (answer->size() >= size_t(record.maxFile))
            return FileDialogResult::NameTooLong;
        record.file = *answer;
        record.file.resize(size_t(record.maxFile), u'\0');
        return FileDialogResult::Accepted;
    }

    void Choose(std::u16string path) { answers.emplace_back(std::move(path)); }
    void Cancel() { answers.emplace_back(std::nullopt); }

    std::deque<std::optional<std::u16string>> answers;
    std::vector<FileDialogRecord> shown;
    std::function<void()> onShow; // lets a test see the world while the dialog is up
};

} // namespace quillet::fakes
