#include "editor/core/frm_forma.h"

#include "editor/core/settings.h"
#include "editor/files/save_changes.h"

#include <new>

namespace quillet {

std::u16string CaptionFor(const DocumentState& doc) {
    if (doc.DisplayName.empty())
        return kAppTitle;
    return doc.DisplayName + u" - " + kAppTitle;
}

DocumentName NameFor(const DocumentState& doc, std::u16string_view path) {
    size_t p = doc.PathSeparator.empty() ? std::u16string_view::npos : path.rfind(doc.PathSeparator);
    size_t nameStart = p == std::u16string_view::npos ? 0 : p + 1;
    return {std::u16string(path), std::u16string(path.substr(0, nameStart)),
            u" " + std::u16string(path.substr(nameStart))};
}

void UseDocumentName(Editor& ed, DocumentName&& name) noexcept {
    DocumentState& doc = ed.doc;
    doc.CurrentFilePath = std::move(name.path);
    doc.DialogFolder = std::move(name.folder);
    doc.DisplayName = std::move(name.displayName);
    try {
        ShowCaption(ed, CaptionFor(doc));
    } catch (const std::bad_alloc&) {
    }
}

void ShowCaption(Editor& ed, std::u16string_view caption) noexcept {
    try {
        ed.Window().SetCaption(caption);
    } catch (const std::bad_alloc&) {
    }
}

void frmForma_Form_Resize(Editor& ed) {
    MainWindow& window = ed.Window();
    WindowState state = window.State();
    if (state == WindowState::Minimized)
        return;
    ed.Rich().Move(0, 0, window.ClientWidth(), window.ClientHeight());
    if (state == WindowState::Normal) {
        ed.doc.NormalWidth = window.OuterWidth();
        ed.doc.NormalHeight = window.OuterHeight();
    }
}

void frmForma_Form_Unload(Editor& ed, int16_t& Cancel) {
    if (ed.doc.Modified == 1) {
        Cancel = static_cast<int16_t>(AskSaveChanges(ed));
        if (Cancel == 1)
            return;
    }
    SaveSettings(ed);
}

void frmForma_Rich_Change(Editor& ed) {
    if (ed.doc.EditorState != kStateChangingControl) {
        ed.doc.UndoAllowed = 1;
        ed.doc.Modified = 1;
    }
}

void frmForma_mnuExit_Click(Editor& ed) {
    ed.Window().RequestClose();
}

void frmForma_mFormatPerenosSlov_Click(Editor& ed) {
    MainWindow& window = ed.Window();
    bool checked = !window.MenuChecked(MenuItem::mFormatPerenosSlov);
    window.SetMenuChecked(MenuItem::mFormatPerenosSlov, checked);
    ed.Rich().SetWordWrap(checked);
}

} // namespace quillet
