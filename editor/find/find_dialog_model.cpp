#include "editor/find/find_dialog_model.h"

#include "editor/find/search.h"

namespace quillet {

FindDialogModel::FindDialogModel(Editor& editor, FindLayout layout)
    : editor_(editor), replaceLayout_(layout == FindLayout::Replace),
      caption_(replaceLayout_ ? kReplaceCaption : kFindCaption) {
    // The selection comes first, exactly as selected, even when the history lists it too.
    std::u16string selection = editor.Text().SelText();
    if (!selection.empty()) {
        findList_.push_back(selection);
        OnFindTextChanged(selection);
    }
    for (const auto& entry : editor.search.history) {
        findList_.push_back(entry);
        if (replaceLayout_)
            replaceList_.push_back(entry);
    }
    ApplyEnablingRule();
}

bool FindDialogModel::Visible(FindControl control) const {
    switch (control) {
    case FindControl::ReplaceLabel:
    case FindControl::ReplaceField:
    case FindControl::ReplaceAllButton: return replaceLayout_;
    default: return true;
    }
}

bool FindDialogModel::Enabled(FindControl control) const {
    switch (control) {
    case FindControl::FindButton: return buttonsEnabled_;
    case FindControl::ReplaceAllButton: return replaceLayout_ && buttonsEnabled_;
    default: return true;
    }
}

void FindDialogModel::ApplyEnablingRule() {
    buttonsEnabled_ = !findText_.empty();
}

void FindDialogModel::OnFindTextChanged(std::u16string_view text) {
    findText_ = text;
    ApplyEnablingRule();
}

void FindDialogModel::OnFindEntryPicked(int32_t listIndex) {
    if (listIndex >= 0 && listIndex < static_cast<int32_t>(findList_.size()))
        OnFindTextChanged(findList_[static_cast<size_t>(listIndex)]);
}

void FindDialogModel::OnReplaceTextChanged(std::u16string_view text) {
    replaceText_ = text;
}

void FindDialogModel::OnReplaceEntryPicked(int32_t listIndex) {
    if (listIndex >= 0 && listIndex < static_cast<int32_t>(replaceList_.size()))
        replaceText_ = replaceList_[static_cast<size_t>(listIndex)];
}

void FindDialogModel::OnFieldKeyDown(int32_t keyCode) {
    if (keyCode == kEscapeKey)
        escapeDownInField_ = true;
}

void FindDialogModel::OnFindFieldKeyUp(int32_t keyCode) {
    if (keyCode == kEscapeKey) {
        closed_ = closed_ || escapeDownInField_;
        escapeDownInField_ = false;
    }
}

void FindDialogModel::OnReplaceFieldKeyUp(int32_t keyCode) {
    OnFindFieldKeyUp(keyCode);
}

void FindDialogModel::OnMatchCase(bool ticked) {
    editor_.search.matchCase = ticked;
}

void FindDialogModel::OnFindButton() {
    if (!Enabled(FindControl::FindButton) || closed_)
        return;
    if (FindFirst(editor_, findText_))
        closed_ = true;
}

void FindDialogModel::OnReplaceAllButton() {
    if (!Enabled(FindControl::ReplaceAllButton) || closed_)
        return;
    ReplaceAll(editor_, findText_, replaceText_);
    closed_ = true;
}

void FindDialogModel::OnCancelButton() {
    closed_ = true;
}

void FindDialogModel::CloseBox() {
    closed_ = true;
}

void FindDialogModel::EnterPressed(FindControl focus) {
    switch (focus) {
    case FindControl::CancelButton: OnCancelButton(); break;
    case FindControl::ReplaceAllButton: OnReplaceAllButton(); break;
    default: OnFindButton(); break;
    }
}

} // namespace quillet
