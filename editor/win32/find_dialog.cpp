#include "editor/win32/find_dialog.h"

#include "editor/win32/dpi.h"
#include "editor/win32/last_resort.h"
#include "editor/win32/resource.h"
#include "editor/win32/system_change.h"
#include "editor/win32/wide.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quillet::win32 {
namespace {

std::u16string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return FromWide(text);
}

// An empty dialog; the controls are created from the twips layout once the font is known.
struct alignas(DWORD) EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

constexpr UINT_PTR kFieldSubclass = 1;
constexpr int kDroppedRows = 8; // how many entries the drop-down list shows

} // namespace

int FindDialogWin32::ControlId(FindControl control) {
    switch (control) {
    case FindControl::FindLabel: return IDC_FIND_LABEL;
    case FindControl::FindField: return IDC_FIND_FIELD;
    case FindControl::ReplaceLabel: return IDC_REPLACE_LABEL;
    case FindControl::ReplaceField: return IDC_REPLACE_FIELD;
    case FindControl::MatchCase: return IDC_MATCH_CASE;
    case FindControl::FindButton: return IDC_FIND_BUTTON;
    case FindControl::CancelButton: return IDC_CANCEL_BUTTON;
    case FindControl::ReplaceAllButton: return IDC_REPLACE_ALL_BUTTON;
    }
    return 0;
}

void FindDialogWin32::ShowModal(FindLayout layout) {
    // The loading steps run here, before the window exists, as the layout depends on them.
    model_.emplace(*editor_, layout);
    EmptyTemplate tmpl{};
    tmpl.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    tmpl.header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    DialogBoxIndirectParamW(instance_, &tmpl.header, owner_, DialogProc, reinterpret_cast<LPARAM>(this));
    hwnd_ = nullptr;
    font_.Reset();
    model_.reset();
}

INT_PTR CALLBACK FindDialogWin32::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        auto* self = reinterpret_cast<FindDialogWin32*>(lParam);
        self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FindDialogWin32*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self ? CatchAll([&] { return self->HandleMessage(msg, wParam, lParam); }, FALSE) : FALSE;
}

// Escape closes the dialog only when it is released in one of the two fields after being pressed
// there (the press comes as IDCANCEL, see OnCommand).
LRESULT CALLBACK FindDialogWin32::FieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR data) {
    return CatchAll([&] { return HandleFieldMessage(hwnd, msg, wParam, lParam, data); }, 0);
}

LRESULT FindDialogWin32::HandleFieldMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            DWORD_PTR data) {
    if (msg == WM_KEYUP) {
        auto* self = reinterpret_cast<FindDialogWin32*>(data);
        if (self->model_ && !self->model_->Closed()) {
            const HWND combo = GetAncestor(hwnd, GA_PARENT);
            if (GetDlgCtrlID(combo) == IDC_REPLACE_FIELD)
                self->model_->OnReplaceFieldKeyUp(static_cast<int32_t>(wParam));
            else
                self->model_->OnFindFieldKeyUp(static_cast<int32_t>(wParam));
            self->CloseIfDone();
        }
    } else if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, FieldProc, kFieldSubclass);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

INT_PTR FindDialogWin32::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: OnInitDialog(); return FALSE; // the focus is set
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return TRUE;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: RepaintAfterSystemChange(hwnd_, msg, wParam, lParam); return TRUE;
    case WM_DPICHANGED:
        dpi_ = DpiOfChange(wParam);
        LayOut();
        MoveToSuggestedRect(hwnd_, lParam);
        return TRUE;
    case WM_CLOSE:
        model_->CloseBox();
        CloseIfDone();
        return TRUE;
    case WM_APP:
        if (onShown)
            onShown(hwnd_);
        return TRUE;
    default: (void)lParam; return FALSE;
    }
}

// The controls, in tab order: the dialog manager moves the focus in creation order. LayOut places
// them.
void FindDialogWin32::CreateControls() {
    const FindDialogModel& model = *model_;
    std::vector<FindControlSpec> layout(std::begin(kFindControls), std::end(kFindControls));
    std::sort(layout.begin(), layout.end(),
              [](const auto& a, const auto& b) { return a.tabIndex < b.tabIndex; });
    for (const FindControlSpec& item : layout) {
        const wchar_t* cls = L"BUTTON";
        DWORD style = WS_CHILD | WS_TABSTOP;
        switch (item.kind) {
        case FindControlKind::Label:
            cls = L"STATIC";
            style = WS_CHILD | SS_LEFT;
            break;
        case FindControlKind::ComboBox:
            cls = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
            break;
        case FindControlKind::CheckBox: style |= BS_AUTOCHECKBOX; break;
        case FindControlKind::Button: style |= BS_PUSHBUTTON; break;
        case FindControlKind::DefaultButton: style |= BS_DEFPUSHBUTTON; break;
        }
        if (model.Visible(item.id))
            style |= WS_VISIBLE;
        if (!model.Enabled(item.id))
            style |= WS_DISABLED;
        HWND control = CreateWindowExW(0, cls, ToWide(item.caption).c_str(), style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(item.id))),
                                       instance_, nullptr);
        if (item.kind == FindControlKind::ComboBox) {
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(control, &info) && info.hwndItem)
                SetWindowSubclass(info.hwndItem, FieldProc, kFieldSubclass,
                                  reinterpret_cast<DWORD_PTR>(this));
        }
    }
}

void FindDialogWin32::OnInitDialog() {
    const FindDialogModel& model = *model_;
    dpi_ = WindowDpi(hwnd_);
    LayOutDialogOurselves(hwnd_);

    CreateControls();
    LayOut();
    SendMessageW(hwnd_, DM_SETDEFID, IDC_FIND_BUTTON, 0);

    auto fill = [this](int id, const std::vector<std::u16string>& entries, const std::u16string& text) {
        HWND combo = GetDlgItem(hwnd_, id);
        for (const auto& entry : entries)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry)));
        SetWindowTextW(combo, Wide(text));
    };
    fill(IDC_FIND_FIELD, model.FindList(), model.FindText());
    fill(IDC_REPLACE_FIELD, model.ReplaceList(), model.ReplaceText());
    CheckDlgButton(hwnd_, IDC_MATCH_CASE, model.MatchCase() ? BST_CHECKED : BST_UNCHECKED);
    SetWindowTextW(hwnd_, Wide(model.Caption()));

    // Client area as designed; the replace layout sets the whole window's height instead.
    RECT frame{0, 0, Px(kFindClientWidth), Px(kFindClientHeight)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = model.OuterHeight() > 0 ? Px(model.OuterHeight()) : frame.bottom - frame.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    HWND field = GetDlgItem(hwnd_, IDC_FIND_FIELD);
    SetFocus(field);
    SendMessageW(field, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    if (onShown)
        PostMessageW(hwnd_, WM_APP, 0, 0);
}

int FindDialogWin32::Px(int32_t twips) const {
    return PixelsFromTwips(twips, dpi_);
}

// The font and the places of the controls at the dialog's DPI; the font keeps its size in points on
// every monitor.
void FindDialogWin32::LayOut() {
    GdiFont font(CreateFontW(-MulDiv(kFindDialogFont.hundredthsOfPoint, dpi_, 7200), 0, 0, 0,
                             kFindDialogFont.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                             static_cast<BYTE>(kFindDialogFont.charset), OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             ToWide(kFindDialogFont.name).c_str()));
    for (const FindControlSpec& item : kFindControls) {
        HWND control = GetDlgItem(hwnd_, ControlId(item.id));
        // A combo box's height takes in its drop-down list.
        const int rows = item.kind == FindControlKind::ComboBox ? kDroppedRows + 1 : 1;
        SetWindowPos(control, nullptr, Px(item.left), Px(item.top), Px(item.width), Px(item.height) * rows,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    }
    font_ = std::move(font); // the old font goes once no control uses it
}

FindControl FindDialogWin32::FocusedControl() const {
    HWND focus = GetFocus();
    for (const auto& item : kFindControls) {
        HWND control = GetDlgItem(hwnd_, ControlId(item.id));
        if (control && (control == focus || IsChild(control, focus)))
            return item.id;
    }
    return FindControl::FindField;
}

bool FindDialogWin32::FocusIsIn(int id) const {
    HWND control = GetDlgItem(hwnd_, id);
    HWND focus = GetFocus();
    return control && focus && (control == focus || IsChild(control, focus));
}

void FindDialogWin32::OnCommand(int id, int code) {
    FindDialogModel& model = *model_;
    switch (id) {
    case IDOK: model.EnterPressed(FocusedControl()); break; // Enter with no default button at hand
    case IDCANCEL:
        // The dialog turns the press of Escape into this, so the field never sees it go down; the
        // dialog closes on its release in a field. The close box comes as WM_CLOSE.
        if (FocusIsIn(IDC_FIND_FIELD) || FocusIsIn(IDC_REPLACE_FIELD))
            model.OnFieldKeyDown(kEscapeKey);
        break;
    case IDC_FIND_FIELD:
        if (code == CBN_EDITCHANGE)
            model.OnFindTextChanged(WindowText(GetDlgItem(hwnd_, id)));
        else if (code == CBN_SELCHANGE)
            model.OnFindEntryPicked(static_cast<int32_t>(SendDlgItemMessageW(hwnd_, id, CB_GETCURSEL, 0, 0)));
        break;
    case IDC_REPLACE_FIELD:
        if (code == CBN_EDITCHANGE)
            model.OnReplaceTextChanged(WindowText(GetDlgItem(hwnd_, id)));
        else if (code == CBN_SELCHANGE)
            model.OnReplaceEntryPicked(
                static_cast<int32_t>(SendDlgItemMessageW(hwnd_, id, CB_GETCURSEL, 0, 0)));
        break;
    case IDC_MATCH_CASE:
        if (code == BN_CLICKED)
            model.OnMatchCase(IsDlgButtonChecked(hwnd_, id) == BST_CHECKED);
        break;
    case IDC_FIND_BUTTON:
        if (code == BN_CLICKED)
            model.OnFindButton();
        break;
    case IDC_REPLACE_ALL_BUTTON:
        if (code == BN_CLICKED)
            model.OnReplaceAllButton();
        break;
    case IDC_CANCEL_BUTTON:
        if (code == BN_CLICKED)
            model.OnCancelButton();
        break;
    default: break;
    }
    ShowModelState();
    CloseIfDone();
}

void FindDialogWin32::ShowModelState() {
    for (FindControl button : {FindControl::FindButton, FindControl::ReplaceAllButton}) {
        HWND control = GetDlgItem(hwnd_, ControlId(button));
        const bool enabled = model_->Enabled(button);
        if (!enabled && GetFocus() == control)
            SetFocus(GetDlgItem(hwnd_, IDC_FIND_FIELD)); // a disabled button must not keep the focus
        EnableWindow(control, enabled);
    }
}

void FindDialogWin32::CloseIfDone() {
    if (model_ && model_->Closed() && hwnd_)
        EndDialog(hwnd_, 0);
}

} // namespace quillet::win32
