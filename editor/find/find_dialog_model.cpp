#include "editor/find/find_dialog_model.h"

#include "editor/find/search.h"

namespace quillet {

FindDialogModel::FindDialogModel(Editor& editor)
    : editor_(editor), replaceLayout_(editor.doc.EditorState == kStateReplace), caption_(kFindCaption) {
    // The selection comes first, exactly as selected, even when the history lists it too.
    std::u16string selection = editor.Rich().SelText();
    if (!selection.empty()) {
        findList_.push_back(selection);
        frmFind_cboFind_Change(selection);
    }
    for (const auto& entry : editor.search.FindHistory) {
        findList_.push_back(entry);
        if (replaceLayout_)
            replaceList_.push_back(entry);
    }
    if (replaceLayout_) {
        const std::u16string menuCaption = editor.Window().MenuCaption(MenuItem::mEditZamenit);
        caption_ = menuCaption.empty() ? std::u16string(u"Заменить") : menuCaption;
    }
    ApplyEnablingRule();
}

bool FindDialogModel::Visible(FindControl control) const {
    switch (control) {
    case FindControl::lblReplace:
    case FindControl::cboReplace:
    case FindControl::cmdReplaceAll: return replaceLayout_;
    default: return true;
    }
}

bool FindDialogModel::Enabled(FindControl control) const {
    switch (control) {
    case FindControl::cmdFind: return buttonsEnabled_;
    case FindControl::cmdReplaceAll: return replaceLayout_ && buttonsEnabled_;
    default: return true;
    }
}

void FindDialogModel::ApplyEnablingRule() {
    buttonsEnabled_ = !findText_.empty();
}

void FindDialogModel::frmFind_cboFind_Change(std::u16string_view text) {
    findText_ = text;
    ApplyEnablingRule();
}

void FindDialogModel::frmFind_cboFind_Click(int32_t listIndex) {
    if (listIndex >= 0 && listIndex < static_cast<int32_t>(findList_.size()))
        frmFind_cboFind_Change(findList_[static_cast<size_t>(listIndex)]);
}

void FindDialogModel::frmFind_cboReplace_Change(std::u16string_view text) {
    replaceText_ = text;
}

void FindDialogModel::frmFind_cboReplace_Click(int32_t listIndex) {
    if (listIndex >= 0 && listIndex < static_cast<int32_t>(replaceList_.size()))
        replaceText_ = replaceList_[static_cast<size_t>(listIndex)];
}

void FindDialogModel::OnFieldKeyDown(int32_t keyCode) {
    if (keyCode == kEscapeKey)
        escapeDownInField_ = true;
}

void FindDialogModel::frmFind_cboFind_KeyUp(int32_t keyCode) {
    if (keyCode == kEscapeKey) {
        closed_ = closed_ || escapeDownInField_;
        escapeDownInField_ = false;
    }
}

void FindDialogModel::frmFind_cboReplace_KeyUp(int32_t keyCode) {
    frmFind_cboFind_KeyUp(keyCode);
}

void FindDialogModel::frmFind_chkMatchCase_Click(bool ticked) {
    editor_.search.FindMatchCase = ticked ? 1 : 0;
}

void FindDialogModel::frmFind_cmdFind_Click() {
    if (!Enabled(FindControl::cmdFind) || closed_)
        return;
    if (FindFirst(editor_, findText_))
        closed_ = true;
}

void FindDialogModel::frmFind_cmdReplaceAll_Click() {
    if (!Enabled(FindControl::cmdReplaceAll) || closed_)
        return;
    ReplaceAll(editor_, findText_, replaceText_);
    closed_ = true;
}

void FindDialogModel::frmFind_cmdCancel_Click() {
    closed_ = true;
}

void FindDialogModel::CloseBox() {
    closed_ = true;
}

void FindDialogModel::EnterPressed(FindControl focus) {
    switch (focus) {
    case FindControl::cmdCancel: frmFind_cmdCancel_Click(); break;
    case FindControl::cmdReplaceAll: frmFind_cmdReplaceAll_Click(); break;
    default: frmFind_cmdFind_Click(); break;
    }
}

} // namespace quillet
