#include "installer/win32/web_view_win32.h"

#include "editor/win32/dpi.h"
#include "editor/win32/wide.h"

#include <commctrl.h>
#include <exdisp.h>
#include <oleidl.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>

namespace quillet::installer::win32 {

namespace {

// The page engine behind the browser control; where it cannot be created, the control opens but
// never shows a page.
constexpr GUID kHtmlDocumentClass = {
    0x25336920, 0x03f9, 0x11cf, {0x8f, 0xd0, 0x00, 0xaa, 0x00, 0x68, 0x6f, 0x13}};

using quillet::win32::GdiFont;
using quillet::win32::PixelsFrom96;
using quillet::win32::ScreenDpi;
using quillet::win32::SelectInDc;
using quillet::win32::ToWide;
using quillet::win32::WindowDc;

bool BrowserEngineAvailable() {
    IUnknown* document = nullptr;
    if (FAILED(CoCreateInstance(kHtmlDocumentClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&document))))
        return false;
    document->Release();
    return true;
}

// The system's message font at dpi: asked for that DPI where the system can say
// (SystemParametersInfoForDpi, Windows 10 1607 and later, looked up at run time), else scaled from
// the screen's.
std::optional<LOGFONTW> MessageFontAt(int dpi) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = reinterpret_cast<ForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
    if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, UINT(dpi)))
        return metrics.lfMessageFont;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return std::nullopt;
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, ScreenDpi());
    return metrics.lfMessageFont;
}

} // namespace

// COM objects are deleted through Release, never through a base pointer.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// The container side of the control: client site, in-place site and frame in one object. It
// only tells the control where it lives; menus, toolbars and borders are not offered.
class BrowserSite final : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    explicit BrowserSite(HWND window) : window_(window) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

    // IOleClientSite
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** out) override {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** out) override {
        if (out)
            *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and the frame)
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (!out)
            return E_POINTER;
        *out = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                               LPRECT position, LPRECT clip,
                                               LPOLEINPLACEFRAMEINFO info) override {
        if (frame) {
            *frame = this;
            AddRef();
        }
        if (document)
            *document = nullptr;
        if (position)
            GetClientRect(window_, position);
        if (clip)
            GetClientRect(window_, clip);
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = window_;
            info->haccel = nullptr;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
        active_ = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow and IOleInPlaceFrame
    HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) override {
        // Weak: the control tells us again with null before it goes.
        active_ = object;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    IOleInPlaceActiveObject* ActiveObject() const { return active_; }

private:
    ~BrowserSite() = default;

    HWND window_;
    ULONG refs_ = 1;
    IOleInPlaceActiveObject* active_ = nullptr;
};

WebViewWin32::~WebViewWin32() {
    Destroy();
}

void WebViewWin32::Create(HWND parent, std::u16string_view startAddress) {
    parent_ = parent;
    GetClientRect(parent, &bounds_);
    if (!BrowserEngineAvailable()) {
        ShowFallback(startAddress);
        return;
    }
    site_ = new BrowserSite(parent);
    bool ok = SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                         reinterpret_cast<void**>(&ole_)));
    ok = ok && SUCCEEDED(ole_->SetClientSite(static_cast<IOleClientSite*>(site_)));
    ok = ok && SUCCEEDED(OleSetContainedObject(ole_, TRUE));
    ok = ok && SUCCEEDED(ole_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_),
                                      -1, parent, &bounds_));
    ok = ok && SUCCEEDED(ole_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)));
    if (!ok) {
        CloseBrowser();
        ShowFallback(startAddress);
        return;
    }
    browser_->put_Silent(VARIANT_TRUE); // no script error boxes over the installer
    Navigate(startAddress, 0);
}

void WebViewWin32::CloseBrowser() {
    if (browser_) {
        browser_->Stop();
        browser_->Release();
        browser_ = nullptr;
    }
    if (ole_) {
        ole_->Close(OLECLOSE_NOSAVE);
        ole_->SetClientSite(nullptr);
        ole_->Release();
        ole_ = nullptr;
    }
    if (site_) {
        site_->Release();
        site_ = nullptr;
    }
}

void WebViewWin32::Destroy() {
    CloseBrowser();
    for (HWND* control : {&note_, &link_}) {
        if (*control)
            DestroyWindow(*control);
        *control = nullptr;
    }
    font_.Reset();
    linkFont_.Reset();
}

void WebViewWin32::Navigate(std::u16string_view address, int32_t flags) {
    if (browser_) {
        BSTR url = SysAllocStringLen(ToWide(address).c_str(), UINT(address.size()));
        VARIANT flagsValue;
        VariantInit(&flagsValue);
        flagsValue.vt = VT_I4;
        flagsValue.lVal = flags;
        VARIANT empty;
        VariantInit(&empty);
        HRESULT hr = url ? browser_->Navigate(url, &flagsValue, &empty, &empty, &empty) : E_OUTOFMEMORY;
        SysFreeString(url);
        if (SUCCEEDED(hr))
            return;
        // The engine refused: a plain link is better than an empty window.
        CloseBrowser();
    }
    ShowFallback(address);
}

void WebViewWin32::Move(int32_t left, int32_t top, int32_t width, int32_t height) {
    bounds_ = RECT{left, top, left + width, top + height};
    if (browser_) {
        IOleInPlaceObject* inPlace = nullptr;
        if (SUCCEEDED(browser_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
            inPlace->SetObjectRects(&bounds_, &bounds_);
            inPlace->Release();
        }
    }
    if (note_)
        LayOutFallback();
}

bool WebViewWin32::PreTranslate(MSG& msg) {
    if (link_ && msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN &&
        (msg.hwnd == parent_ || IsChild(parent_, msg.hwnd))) {
        OpenInDefaultBrowser();
        return true;
    }
    if (!site_ || !site_->ActiveObject())
        return false;
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    return site_->ActiveObject()->TranslateAccelerator(&msg) == S_OK;
}

constexpr int kLinkId = 100;

void WebViewWin32::OpenInDefaultBrowser() {
    if (!address_.empty())
        ShellExecuteW(parent_, L"open", address_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool WebViewWin32::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (!link_ || reinterpret_cast<HWND>(lParam) != link_ || HIWORD(wParam) != STN_CLICKED)
        return false;
    OpenInDefaultBrowser();
    return true;
}

HBRUSH WebViewWin32::OnControlColor(HDC dc, HWND control) {
    if (!note_ || (control != note_ && control != link_))
        return nullptr;
    SetTextColor(dc, GetSysColor(control == link_ ? COLOR_HOTLIGHT : COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

bool WebViewWin32::OnSetCursor(HWND control) {
    if (!link_ || control != link_)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void WebViewWin32::LayOutFallback() {
    RECT r = bounds_;
    // A margin, so the text does not touch the window's edge.
    int margin = PixelsFrom96(12, dpi_);
    InflateRect(&r, -margin, -margin);
    int width = std::max<int>(0, r.right - r.left);

    // The note takes the lines it needs at this width; the link goes under it.
    int noteHeight = 0, linkHeight = 0;
    if (WindowDc dc(note_); dc) {
        SelectInDc selected(dc, font_ ? font_.Get() : GetStockObject(DEFAULT_GUI_FONT));
        wchar_t text[512] = {};
        GetWindowTextW(note_, text, 512);
        RECT measure = {0, 0, width, 0};
        DrawTextW(dc, text, -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        noteHeight = measure.bottom;
        TEXTMETRICW metrics = {};
        GetTextMetricsW(dc, &metrics);
        linkHeight = metrics.tmHeight + metrics.tmExternalLeading;
    }
    MoveWindow(note_, r.left, r.top, width, noteHeight, TRUE);
    if (link_)
        MoveWindow(link_, r.left, r.top + noteHeight + margin / 2, width, linkHeight, TRUE);
}

void WebViewWin32::SetDpi(int dpi) {
    dpi_ = dpi;
    if (note_) {
        MakeFallbackFonts();
        LayOutFallback();
    }
}

// The message font at the window's DPI for the note, underlined for the link.
void WebViewWin32::MakeFallbackFonts() {
    GdiFont font, linkFont;
    if (std::optional<LOGFONTW> lf = MessageFontAt(dpi_)) {
        font.Reset(CreateFontIndirectW(&*lf));
        lf->lfUnderline = TRUE;
        linkFont.Reset(CreateFontIndirectW(&*lf));
    }
    SendMessageW(note_, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    if (link_)
        SendMessageW(link_, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.Get()), TRUE);
    font_ = std::move(font); // the old fonts go once no control uses them
    linkFont_ = std::move(linkFont);
}

void WebViewWin32::ShowFallback(std::u16string_view address) {
    address_ = ToWide(address);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent_, GWLP_HINSTANCE));
    if (!note_) {
        note_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                parent_, nullptr, instance, nullptr);
        link_ =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0,
                            0, 0, 0, parent_, reinterpret_cast<HMENU>(INT_PTR(kLinkId)), instance, nullptr);
        if (!note_)
            return;
        MakeFallbackFonts();
    }
    SetWindowTextW(note_,
                   L"Страницу нельзя показать в этом окне: обозреватель страниц недоступен. "
                   L"Её адрес — ниже; щёлкните по нему или нажмите Enter, чтобы открыть её в браузере.");
    if (link_)
        SetWindowTextW(link_, address_.c_str());
    LayOutFallback();
}

} // namespace quillet::installer::win32
