#include "editor/win32/main_window.h"

#include "editor/app/commands.h"
#include "editor/app/main_window_events.h"
#include "editor/base/rounding.h"
#include "editor/document/edit_guard.h"
#include "editor/files/open_from_dialog.h"
#include "editor/win32/dpi.h"
#include "editor/win32/last_resort.h"
#include "editor/win32/menu_bar.h"
#include "editor/win32/resource.h"
#include "editor/win32/system_change.h"
#include "editor/win32/wide.h"

#include <algorithm>
#include <string>

namespace quillet::win32 {

MainFrame::~MainFrame() {
    DestroyDetached();
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
}

bool MainFrame::Create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &MainFrame::WndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP));
    if (!wc.hIcon)
        wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    // The client area is given in twips; the frame around it is what the system adds.
    int dpi = ScreenDpi();
    RECT rc{0, 0, PixelsFromTwips(kInitialClientWidth, dpi), PixelsFromTwips(kInitialClientHeight, dpi)};
    AdjustWindowRectEx(&rc, WS_OVERLAPPEDWINDOW, TRUE, 0);
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + std::max(0L, (work.right - work.left - width) / 2);
    int top = work.top + std::max(0L, (work.bottom - work.top - height) / 2);

    menuBar_ = BuildMenuBar();
    std::wstring title = ToWide(kAppTitle);
    HWND hwnd = CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, left,
                                top, width, height, nullptr, menuBar_, instance, this);
    if (!hwnd) {
        DestroyMenu(menuBar_);
        menuBar_ = nullptr;
        return false;
    }
    // The menu bar may take more room at this DPI than the estimate: make the client exact.
    RECT client{};
    GetClientRect(hwnd_, &client);
    int wantHeight = Pixels(kInitialClientHeight);
    if (client.bottom != wantHeight)
        SetWindowPos(hwnd_, nullptr, 0, 0, width, height + wantHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!view_.Create(hwnd_, IDC_TEXT, instance))
        return false;
    view_.SetWordWrap(true); // as the check mark of "Перенос по словам" says
    OnSize();
    DragAcceptFiles(hwnd_, TRUE); // files dropped on the view come here too
    return true;
}

void MainFrame::Attach(Editor& editor) {
    editor_ = &editor;
    if (!accelerators_)
        accelerators_ = BuildAccelerators();
}

bool MainFrame::TranslateShortcut(MSG& msg) {
    return accelerators_ && hwnd_ && TranslateAcceleratorW(hwnd_, accelerators_, &msg);
}

int MainFrame::Dpi() const {
    return WindowDpi(hwnd_);
}

int32_t MainFrame::Twips(int pixels) const {
    return RoundHalfEven(pixels * 1440.0 / Dpi());
}

int MainFrame::Pixels(int32_t twips) const {
    return PixelsFromTwips(twips, Dpi());
}

void MainFrame::SetCaption(std::u16string_view caption) {
    std::wstring text = ToWide(caption);
    SetWindowTextW(hwnd_, text.c_str());
}

HMENU MainFrame::MenuOf(MenuItem item, UINT& by, UINT& id) const {
    int position = MenuPosition(item);
    if (position >= 0) {
        by = MF_BYPOSITION;
        id = UINT(position);
        return menuBar_;
    }
    by = MF_BYCOMMAND;
    id = CommandId(item);
    return menuBar_; // MF_BYCOMMAND searches the popups too
}

void MainFrame::SetMenuCaption(MenuItem item, std::u16string_view caption) {
    UINT by = 0, id = 0;
    HMENU menu = MenuOf(item, by, id);
    std::u16string text(caption);
    if (const MenuEntry* entry = FindEntry(item); entry && !entry->shortcut.empty()) {
        text += u'\t';
        text += entry->shortcut;
    }
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = Wide(text);
    SetMenuItemInfoW(menu, id, by == MF_BYPOSITION, &info);
    if (by == MF_BYPOSITION)
        DrawMenuBar(hwnd_);
}

void MainFrame::SetMenuChecked(MenuItem item, bool checked) {
    UINT by = 0, id = 0;
    HMENU menu = MenuOf(item, by, id);
    CheckMenuItem(menu, id, by | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainFrame::SetMenuEnabled(MenuItem item, bool enabled) {
    UINT by = 0, id = 0;
    HMENU menu = MenuOf(item, by, id);
    EnableMenuItem(menu, id, by | (enabled ? MF_ENABLED : MF_GRAYED));
    if (by == MF_BYPOSITION)
        DrawMenuBar(hwnd_);
}

void MainFrame::Show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    OnSize(); // the first showing counts as a resize even where the system sends none
}

WindowState MainFrame::State() const {
    if (IsIconic(hwnd_))
        return WindowState::Minimized;
    if (IsZoomed(hwnd_))
        return WindowState::Maximized;
    return WindowState::Normal;
}

void MainFrame::Maximize() {
    ShowWindow(hwnd_, SW_MAXIMIZE);
}

int32_t MainFrame::OuterWidth() const {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return Twips(rc.right - rc.left);
}

int32_t MainFrame::OuterHeight() const {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    return Twips(rc.bottom - rc.top);
}

RECT MainFrame::WorkArea() const {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A new outer size in the normal state, moved back inside the work area where it would stick out.
void MainFrame::ResizeOuter(int widthPx, int heightPx) {
    if (State() != WindowState::Normal) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(hwnd_, &placement);
        placement.rcNormalPosition.right = placement.rcNormalPosition.left + widthPx;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + heightPx;
        SetWindowPlacement(hwnd_, &placement);
        return;
    }
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    RECT work = WorkArea();
    int left = rc.left;
    int top = rc.top;
    if (left + widthPx > work.right)
        left = std::max<int>(work.left, work.right - widthPx);
    if (top + heightPx > work.bottom)
        top = std::max<int>(work.top, work.bottom - heightPx);
    SetWindowPos(hwnd_, nullptr, left, top, widthPx, heightPx, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainFrame::SetOuterWidth(int32_t twips) {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    ResizeOuter(Pixels(twips), rc.bottom - rc.top);
}

void MainFrame::SetOuterHeight(int32_t twips) {
    RECT rc{};
    GetWindowRect(hwnd_, &rc);
    ResizeOuter(rc.right - rc.left, Pixels(twips));
}

int32_t MainFrame::ClientWidth() const {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return Twips(rc.right);
}

int32_t MainFrame::ClientHeight() const {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return Twips(rc.bottom);
}

int32_t MainFrame::WorkAreaWidth() const {
    RECT work = WorkArea();
    return Twips(work.right - work.left);
}

int32_t MainFrame::WorkAreaHeight() const {
    RECT work = WorkArea();
    return Twips(work.bottom - work.top);
}

void MainFrame::RequestClose() {
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void MainFrame::PopupEditMenu() {
    POINT at{};
    GetCursorPos(&at);
    HMENU edit = GetSubMenu(menuBar_, MenuPosition(MenuItem::EditMenu));
    // Raises WM_INITMENUPOPUP, so the Edit menu's opening rule runs as for the menu bar.
    TrackPopupMenuEx(edit, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, hwnd_, nullptr);
}

void MainFrame::PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam)); // leave it for the main loop
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void MainFrame::SetPointer(Pointer pointer) {
    pointer_ = pointer;
    SetCursor(
        LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(pointer == Pointer::Busy ? IDC_WAIT : IDC_ARROW)));
}

LRESULT MainFrame::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: OnSize(); return 0;
    case WM_SETFOCUS: view_.SetFocus(); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_QUERYENDSESSION: return OnQueryEndSession();
    case WM_ENDSESSION:
        if (wParam && unloaded_)
            DestroyWindow(hwnd_);
        else
            unloaded_ = false;
        return 0;
    case WM_COMMAND: OnCommand(wParam, lParam); return 0;
    case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), HIWORD(lParam) != 0); return 0;
    case WM_SETCURSOR:
        if (OnSetCursor())
            return TRUE;
        break;
    case WM_DPICHANGED: MoveToSuggestedRect(hwnd_, lParam); return 0;
    case WM_DROPFILES: OnDropFiles(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE: RepaintAfterSystemChange(hwnd_, msg, wParam, lParam); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// The text control fills the client area; once attached, through the core's resize handler.
void MainFrame::OnSize() {
    if (editor_) {
        OnResize(*editor_);
        return;
    }
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    if (HWND view = view_.Handle())
        MoveWindow(view, 0, 0, rc.right, rc.bottom, TRUE);
}

// The close box, Exit and Alt+F4: the unload handler may keep the window open.
void MainFrame::OnClose() {
    if (!editor_ || unloaded_) {
        DestroyWindow(hwnd_);
        return;
    }
    if (OnCloseRequested(*editor_))
        DestroyWindow(hwnd_);
}

// Logging off or shutting down asks like the close box; the window goes at WM_ENDSESSION.
BOOL MainFrame::OnQueryEndSession() {
    if (!editor_ || unloaded_)
        return TRUE;
    if (!OnCloseRequested(*editor_))
        return FALSE;
    unloaded_ = true;
    return TRUE;
}

void MainFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam != 0 || !editor_)
        return; // a control's notification, such as the text control's EN_CHANGE
    if (auto item = ItemFromCommand(LOWORD(wParam)))
        RunCommand(*editor_, *item);
}

void MainFrame::OnInitMenuPopup(HMENU menu, bool systemMenu) {
    if (systemMenu || !editor_)
        return;
    for (const MenuDefinition& definition : MenuBarDefinition())
        if (GetSubMenu(menuBar_, MenuPosition(definition.menu)) == menu)
            OnMenuOpening(*editor_, definition.menu);
}

bool MainFrame::OnSetCursor() {
    if (pointer_ != Pointer::Busy)
        return false;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    return true;
}

// Files dropped from Explorer: the first opens as File → Open opens the one it picks. While a modal
// window is up (the find dialog, a question) the main window is disabled and a drop does nothing.
void MainFrame::OnDropFiles(HDROP drop) {
    std::wstring path;
    if (editor_ && IsWindowEnabled(hwnd_) && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        path.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
        path.resize(DragQueryFileW(drop, 0, path.data(), UINT(path.size())));
    }
    DragFinish(drop);
    if (!path.empty())
        RunGuarded(*editor_, [&] { OnFileDropped(*editor_, FromWide(path)); });
}

} // namespace quillet::win32
