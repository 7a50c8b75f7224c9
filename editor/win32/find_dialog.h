#pragma once
// The find dialog on Win32: shows a FindDialogModel as a modal dialog built in code from its twips
// layout, and passes the user's actions back to it. Rebuilt on every opening.

#include "editor/find/find_dialog_model.h"
#include "editor/platform/find_dialog.h"
#include "editor/win32/handles.h"

#include <windows.h>

#include <functional>
#include <optional>

namespace quillet::win32 {

class FindDialogWin32 : public FindDialog {
public:
    // Owner is the window the dialog is modal to.
    explicit FindDialogWin32(HINSTANCE instance) : instance_(instance) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    // The editor whose find commands the dialog runs; we don't own it.
    void Attach(Editor& editor) { editor_ = &editor; }

    void ShowModal(FindLayout layout) override;

    // Runs once the dialog is up, with its window (tests drive it from here).
    std::function<void(HWND)> onShown;

    // Control identifiers, for tests and tools that drive the dialog.
    static int ControlId(FindControl control);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR data);
    static LRESULT HandleFieldMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR data);
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void CreateControls();
    void LayOut();
    int Px(int32_t twips) const;
    void OnCommand(int id, int code);
    bool FocusIsIn(int id) const;
    void ShowModelState();
    void CloseIfDone();
    FindControl FocusedControl() const;

    Editor* editor_ = nullptr;
    HINSTANCE instance_;
    HWND owner_ = nullptr;
    HWND hwnd_ = nullptr;
    int dpi_ = 96; // of the monitor the dialog is on
    GdiFont font_;
    std::optional<FindDialogModel> model_;
};

} // namespace quillet::win32
