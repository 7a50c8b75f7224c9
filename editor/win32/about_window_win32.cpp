#include "editor/win32/about_window_win32.h"

#include "editor/files/help_menu.h"
#include "editor/win32/dpi.h"
#include "editor/win32/handles.h"
#include "editor/win32/last_resort.h"
#include "editor/win32/system_change.h"
#include "editor/win32/wide.h"

#include <string>
#include <vector>

namespace quillet {
namespace {

using win32::GdiBitmap;
using win32::GdiBrush;
using win32::GdiFont;
using win32::GdiPen;
using win32::MemoryDc;
using win32::PaintDc;
using win32::SelectInDc;
using win32::WindowDc;

// The layout is designed in twips at 96 dpi; 1440 twips make an inch.
struct Scale {
    int dpi = 96;
    int operator()(int twips) const { return win32::PixelsFromTwips(twips, dpi); }
    int Px(int pixels96) const { return win32::PixelsFrom96(pixels96, dpi); }
};

constexpr int kClientWidth = 5340;
constexpr int kClientHeight = 3180;

// Labels fit their text: only where they start is given.
struct Label {
    int id;
    const char16_t* text;
    int left, top;
};

constexpr Label kLabels[] = {
    {IDC_ABOUT_AUTHOR, kAboutAuthor, 1560, 120},     {IDC_ABOUT_CONTACT, kAboutContact, 1560, 480},
    {IDC_ABOUT_SITE, kAboutSiteLabel, 1560, 840},    {IDC_ABOUT_LINK, kAboutSiteLink, 2280, 840},
    {IDC_ABOUT_VERSION, kAboutVersion, 1560, 1200},  {IDC_ABOUT_DATE, kAboutDate, 1560, 1560},
    {IDC_ABOUT_DATE2, kAboutSecondDate, 2400, 1920},
};

struct Box {
    int id;
    int left, top, width, height;
};

constexpr Box kBoxes[] = {
    {IDC_ABOUT_IMAGE, 240, 120, 1065, 1890},
    {IDC_ABOUT_BANDS, 120, 2400, 1200, 675},
    {IDOK, 3840, 2400, 1335, 495},
};

// Our own 71 x 126 picture: a ruled sheet and a quill on the window's background. A picture keeps
// its own colours in every scheme, as icons do.
void DrawQuillPicture(HDC dc) {
    RECT all{0, 0, 71, 126};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));

    // The sheet with its shadow, ruling and margin.
    RECT shadowRect{9, 27, 67, 124};
    FillRect(dc, &shadowRect, GdiBrush(CreateSolidBrush(RGB(160, 160, 160))));
    // Every pen and brush is made before the selections, so each is deselected before it goes.
    GdiBrush paper(CreateSolidBrush(RGB(255, 253, 240)));
    GdiPen edge(CreatePen(PS_SOLID, 1, RGB(96, 96, 96)));
    GdiPen rule(CreatePen(PS_SOLID, 1, RGB(150, 180, 230)));
    GdiPen margin(CreatePen(PS_SOLID, 1, RGB(230, 120, 120)));
    GdiPen ink(CreatePen(PS_SOLID, 1, RGB(30, 30, 110)));
    GdiBrush vane(CreateSolidBrush(RGB(120, 70, 150)));
    GdiPen vaneEdge(CreatePen(PS_SOLID, 1, RGB(70, 30, 90)));
    GdiPen shaft(CreatePen(PS_SOLID, 1, RGB(240, 230, 200)));
    GdiPen nib(CreatePen(PS_SOLID, 2, RGB(40, 40, 40)));
    GdiBrush inkDrop(CreateSolidBrush(RGB(30, 30, 110)));
    SelectInDc brush(dc, paper);
    SelectInDc pen(dc, edge);
    Rectangle(dc, 5, 23, 64, 121);
    pen.Select(rule);
    for (int y = 40; y < 118; y += 8) {
        MoveToEx(dc, 7, y, nullptr);
        LineTo(dc, 62, y);
    }
    pen.Select(margin);
    MoveToEx(dc, 15, 25, nullptr);
    LineTo(dc, 15, 120);
    // A few lines already written.
    pen.Select(ink);
    const int written[][2] = {{19, 52}, {19, 44}, {19, 56}, {19, 30}};
    for (int i = 0; i < 4; ++i) {
        int y = 39 + 8 * i;
        MoveToEx(dc, written[i][0], y, nullptr);
        for (int x = written[i][0]; x < written[i][0] + written[i][1] - 10; x += 4)
            LineTo(dc, x + 2, y - ((x / 4) % 2 ? 2 : 1));
    }

    // The quill: a vane from the top right down to the nib on the sheet.
    brush.Select(vane);
    pen.Select(vaneEdge);
    const POINT feather[] = {{68, 1},  {60, 6},  {52, 16}, {44, 30}, {37, 46}, {33, 60},
                             {31, 70}, {37, 62}, {45, 52}, {54, 38}, {62, 22}, {67, 10}};
    Polygon(dc, feather, int(std::size(feather)));
    pen.Select(shaft);
    MoveToEx(dc, 67, 3, nullptr);
    LineTo(dc, 33, 70);
    pen.Select(nib);
    MoveToEx(dc, 32, 70, nullptr);
    LineTo(dc, 27, 82);
    brush.Select(inkDrop);
    pen.Select(ink);
    Ellipse(dc, 25, 81, 29, 85);
}

// The size of text in font, as the window's DC measures it.
SIZE TextExtent(HWND hwnd, HFONT font, const std::wstring& text) {
    WindowDc dc(hwnd);
    SelectInDc selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size;
}

// One open About window; lives on ShowModal's stack for as long as the dialog runs.
class AboutDialog : public AboutWindow {
public:
    AboutDialog(Editor& editor) : editor_(editor) {}

    void SetPointer(Pointer pointer) override {
        busy_ = pointer == Pointer::Busy;
        POINT at;
        if (hwnd_ && GetCursorPos(&at)) {
            HWND under = WindowFromPoint(at);
            if (under == hwnd_ || IsChild(hwnd_, under))
                SetCursor(CursorFor(under));
        }
    }

    void Close() override {
        if (hwnd_)
            EndDialog(hwnd_, IDOK);
    }

    static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_INITDIALOG)
            SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        auto* self = reinterpret_cast<AboutDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
        return self ? win32::CatchAll([&] { return self->Handle(hwnd, msg, wp, lp); }, FALSE) : FALSE;
    }

private:
    INT_PTR Handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        switch (msg) {
        case WM_INITDIALOG: hwnd_ = hwnd; return OnLoad();
        case WM_CTLCOLORSTATIC: return OnLabelColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            PaintPictures(); // on the new background
            win32::RepaintAfterSystemChange(hwnd_, msg, wp, lp);
            return TRUE;
        case WM_DPICHANGED:
            scale_.dpi = win32::DpiOfChange(wp);
            LayOut();
            win32::MoveToSuggestedRect(hwnd_, lp);
            return TRUE;
        case WM_DRAWITEM: return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        case WM_PAINT: return OnPaint();
        case WM_SETCURSOR: return OnSetCursor(reinterpret_cast<HWND>(wp));
        case WM_COMMAND: return OnCommand(LOWORD(wp), HIWORD(wp));
        case WM_CLOSE: OnAboutOk(*this); return TRUE;
        case WM_DESTROY: hwnd_ = nullptr; return FALSE;
        }
        return FALSE;
    }

    // The controls, laid out at the DPI of the window's monitor, and the window centred on the
    // screen its owner is on.
    BOOL OnLoad() {
        scale_.dpi = win32::WindowDpi(hwnd_);
        win32::LayOutDialogOurselves(hwnd_);
        HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
        auto child = [&](const wchar_t* cls, const std::wstring& text, DWORD style, int id) {
            return CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, hwnd_,
                                   reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
        };
        child(L"STATIC", L"", SS_OWNERDRAW, IDC_ABOUT_IMAGE);
        for (const Label& label : kLabels) {
            HWND c = child(L"STATIC", win32::ToWide(label.text),
                           SS_LEFT | SS_NOPREFIX | (label.id == IDC_ABOUT_LINK ? SS_NOTIFY : 0), label.id);
            if (label.id == IDC_ABOUT_LINK)
                link_ = c;
        }
        child(L"STATIC", L"", SS_OWNERDRAW, IDC_ABOUT_BANDS);
        HWND ok = child(L"BUTTON", L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
        LayOut();

        RECT frame{0, 0, scale_(kClientWidth), scale_(kClientHeight)};
        AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                           DWORD(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
        int width = frame.right - frame.left, height = frame.bottom - frame.top;
        MONITORINFO monitor{sizeof(monitor)};
        GetMonitorInfoW(MonitorFromWindow(GetWindow(hwnd_, GW_OWNER), MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& work = monitor.rcWork;
        SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                     work.top + (work.bottom - work.top - height) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetFocus(ok);
        return FALSE; // the focus is set
    }

    // Fonts, places and pictures at the window's DPI: MS Sans Serif 12 pt bold keeps its size in
    // points on every monitor.
    void LayOut() {
        LOGFONTW lf{};
        lf.lfHeight = -win32::PixelsFromPoints(12, scale_.dpi);
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = RUSSIAN_CHARSET;
        lstrcpyW(lf.lfFaceName, L"MS Sans Serif");
        GdiFont font(CreateFontIndirectW(&lf));
        lf.lfUnderline = TRUE;
        GdiFont linkFont(CreateFontIndirectW(&lf));
        for (const Label& label : kLabels) {
            HFONT labelFont = label.id == IDC_ABOUT_LINK ? linkFont : font;
            HWND c = GetDlgItem(hwnd_, label.id);
            SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont), FALSE);
            SIZE size = TextExtent(hwnd_, labelFont, win32::ToWide(label.text));
            SetWindowPos(c, nullptr, scale_(label.left), scale_(label.top), size.cx, size.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        for (const Box& box : kBoxes)
            SetWindowPos(GetDlgItem(hwnd_, box.id), nullptr, scale_(box.left), scale_(box.top),
                         scale_(box.width), scale_(box.height), SWP_NOZORDER | SWP_NOACTIVATE);
        SendDlgItemMessageW(hwnd_, IDOK, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        font_ = std::move(font); // the old fonts go once no control uses them
        linkFont_ = std::move(linkFont);
        PaintPictures();
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    // The picture and the three bands are drawn into bitmaps that the window shows, afresh for a
    // new DPI or new colours.
    void PaintPictures() {
        WindowDc screen(nullptr);
        MemoryDc mem(CreateCompatibleDC(screen));
        picture_.Reset(CreateCompatibleBitmap(screen, 71, 126));
        SelectInDc selected(mem, picture_);
        DrawQuillPicture(mem);

        int w = scale_(1200), h = scale_(675);
        bands_.Reset(CreateCompatibleBitmap(screen, w, h));
        selected.Select(bands_);
        RECT all{0, 0, w, h};
        FillRect(mem, &all, GetSysColorBrush(COLOR_HIGHLIGHTTEXT));
        RECT blueRows{0, scale_.Px(15), scale_.Px(80), scale_.Px(31)};
        RECT redRows{0, scale_.Px(31), scale_.Px(80), scale_.Px(46)};
        FillRect(mem, &blueRows, GdiBrush(CreateSolidBrush(RGB(0, 0, 255))));
        FillRect(mem, &redRows, GdiBrush(CreateSolidBrush(RGB(255, 0, 0))));
    }

    INT_PTR OnDrawItem(const DRAWITEMSTRUCT& item) {
        HBITMAP bitmap = item.CtlID == IDC_ABOUT_IMAGE ? picture_ : bands_;
        BITMAP info{};
        GetObjectW(bitmap, sizeof(info), &info);
        MemoryDc mem(CreateCompatibleDC(item.hDC));
        SelectInDc selected(mem, bitmap);
        const RECT& r = item.rcItem;
        SetStretchBltMode(item.hDC, COLORONCOLOR);
        StretchBlt(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        return TRUE;
    }

    // Line1 and Line2, one pixel apart: the etched separator.
    INT_PTR OnPaint() {
        PaintDc dc(hwnd_);
        int y = scale_(2280);
        const int colours[] = {COLOR_MENUTEXT, COLOR_WINDOW};
        for (int i = 0; i < 2; ++i) {
            GdiPen pen(CreatePen(PS_SOLID, 1, GetSysColor(colours[i])));
            SelectInDc selected(dc, pen);
            MoveToEx(dc, scale_(120), y + i, nullptr);
            LineTo(dc, scale_(5160), y + i);
        }
        return TRUE;
    }

    INT_PTR OnLabelColour(HDC dc, HWND label) {
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(label == link_ ? COLOR_HOTLIGHT : COLOR_BTNTEXT));
        return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }

    HCURSOR CursorFor(HWND under) const {
        if (busy_)
            return LoadCursorW(nullptr, IDC_WAIT);
        return LoadCursorW(nullptr, under == link_ ? IDC_HAND : IDC_ARROW);
    }

    INT_PTR OnSetCursor(HWND under) {
        if (!busy_ && under != link_)
            return FALSE; // the usual pointers, sizing arrows included
        SetCursor(CursorFor(under));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }

    INT_PTR OnCommand(int id, int code) {
        if (id == IDC_ABOUT_LINK && code == STN_CLICKED) {
            // The page is written with messages let through; a second click then must not nest.
            if (!busy_)
                OnAboutLink(editor_, *this);
            return TRUE;
        }
        if (id == IDOK || id == IDCANCEL) { // OK, Enter, Esc and the close box
            OnAboutOk(*this);
            return TRUE;
        }
        return FALSE;
    }

    Editor& editor_;
    HWND hwnd_ = nullptr;
    HWND link_ = nullptr;
    Scale scale_;
    GdiFont font_;
    GdiFont linkFont_;
    GdiBitmap picture_;
    GdiBitmap bands_;
    bool busy_ = false;
};

// An empty dialog template: the controls are made from the twips layout when it loads.
std::vector<DWORD> AboutTemplate() {
    std::vector<WORD> words;
    auto dword = [&](DWORD v) {
        words.push_back(LOWORD(v));
        words.push_back(HIWORD(v));
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    dword(0);
    words.insert(words.end(), {0, 0, 0, 100, 60}); // no items; the size is set on load
    words.push_back(0);                            // no menu
    words.push_back(0);                            // the standard dialog class
    for (char16_t c : std::u16string_view(kAboutCaption))
        words.push_back(c);
    words.push_back(0);
    std::vector<DWORD> aligned((words.size() + 1) / 2);
    std::copy(words.begin(), words.end(), reinterpret_cast<WORD*>(aligned.data()));
    return aligned;
}

} // namespace

void AboutBoxWin32::ShowModal() {
    std::vector<DWORD> dialog = AboutTemplate();
    AboutDialog window(*editor_);
    DialogBoxIndirectParamW(instance_, reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner_,
                            &AboutDialog::Proc, reinterpret_cast<LPARAM>(&window));
}

} // namespace quillet
