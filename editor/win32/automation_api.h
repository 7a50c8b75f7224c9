#pragma once
// The UI Automation interfaces and functions the text view's provider needs. This MinGW's
// uiautomationcore.h has the element interface but not the text and value patterns, and there is
// no import library: the rest is declared here from the documented definitions, and the functions
// are loaded from uiautomationcore.dll when first needed.

#include "editor/control/text_units.h"

#include <windows.h>

#include <ole2.h>
#include <oleauto.h>
#include <uiautomationclient.h>
#include <uiautomationcore.h>

namespace quillet::win32 {

enum UiaEndpoint { kEndpointStart = 0, kEndpointEnd = 1 };
enum UiaSupportedSelection { kSelectionNone = 0, kSelectionSingle = 1 };

struct UiaPoint {
    double x;
    double y;
};

constexpr LONG kUiaRootObjectId = -25;
constexpr HRESULT kUiaElementNotAvailable = HRESULT(0x80040201);
constexpr HRESULT kUiaInvalidOperation = HRESULT(0x80131509);
constexpr int kUiaDocumentControlType = 50030;
constexpr int kUiaTextSelectionChangedEvent = 20014;
constexpr int kUiaTextChangedEvent = 20015;
constexpr int kUiaFontNameAttribute = 40005;
constexpr int kUiaFontSizeAttribute = 40006;
constexpr int kUiaFontWeightAttribute = 40007;
constexpr int kUiaIsItalicAttribute = 40014;
constexpr int kUiaIsReadOnlyAttribute = 40015;

// COM interfaces are released, never deleted through a base.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

struct ITextRangeProvider;

struct IValueProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) = 0;
};

struct ITextProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** ranges) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** ranges) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple* child,
                                                     ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromPoint(UiaPoint point, ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** range) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(int* selection) = 0;
};

struct ITextRangeProvider : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** copy) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* same) = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEndpoints(int endpoint, ITextRangeProvider* target,
                                                       int targetEndpoint, int* order) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(TextUnit unit) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAttribute(int attribute, VARIANT value, BOOL backward,
                                                    ITextRangeProvider** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                               ITextRangeProvider** found) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue(int attribute, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** rectangles) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE Move(TextUnit unit, int count, int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(int endpoint, TextUnit unit, int count,
                                                         int* moved) = 0;
    virtual HRESULT STDMETHODCALLTYPE MoveEndpointByRange(int endpoint, ITextRangeProvider* target,
                                                          int targetEndpoint) = 0;
    virtual HRESULT STDMETHODCALLTYPE Select() = 0;
    virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** children) = 0;
};

// Set apart from the system's, to tell the view's own ranges from others handed back to it.
struct IQuilletTextRange : IUnknown {};

#pragma GCC diagnostic pop

// uiautomationcore.dll's functions; a member is null where the system lacks it. Tests may
// replace the event functions to see what is raised.
struct UiaFunctions {
    LRESULT(WINAPI* returnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) = nullptr;
    HRESULT(WINAPI* hostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
    HRESULT(WINAPI* raiseAutomationEvent)(IRawElementProviderSimple*, int) = nullptr;
    BOOL(WINAPI* clientsAreListening)() = nullptr;
    HRESULT(WINAPI* getReservedNotSupportedValue)(IUnknown**) = nullptr;
};
UiaFunctions& Uia();

} // namespace quillet::win32

__CRT_UUID_DECL(quillet::win32::IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a,
                0xdb, 0xf6, 0x4a)
__CRT_UUID_DECL(quillet::win32::ITextProvider, 0x3589c92c, 0x63f3, 0x4367, 0x99, 0xbb, 0xad, 0xa6, 0x53, 0xb7,
                0x7c, 0xf2)
__CRT_UUID_DECL(quillet::win32::ITextRangeProvider, 0x5347ad7b, 0xc355, 0x46f8, 0xaf, 0xf5, 0x90, 0x90, 0x33,
                0x58, 0x2f, 0x63)
__CRT_UUID_DECL(quillet::win32::IQuilletTextRange, 0x7f0b5a52, 0x3c1e, 0x4d7a, 0x9a, 0x55, 0x2f, 0x6f, 0x0c,
                0x4e, 0x8b, 0x13)
