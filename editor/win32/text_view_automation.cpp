#include "editor/win32/text_view_automation.h"

#include "editor/win32/automation_api.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <string>
#include <tuple>
#include <type_traits>

namespace quillet::win32 {

UiaFunctions& Uia() {
    static UiaFunctions functions = [] {
        UiaFunctions f;
        if (HMODULE dll = LoadLibraryW(L"uiautomationcore.dll")) {
            auto load = [&](auto& pointer, const char* name) {
                pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
                    reinterpret_cast<void*>(GetProcAddress(dll, name)));
            };
            load(f.returnRawElementProvider, "UiaReturnRawElementProvider");
            load(f.hostProviderFromHwnd, "UiaHostProviderFromHwnd");
            load(f.raiseAutomationEvent, "UiaRaiseAutomationEvent");
            load(f.clientsAreListening, "UiaClientsAreListening");
            load(f.getReservedNotSupportedValue, "UiaGetReservedNotSupportedValue");
        }
        return f;
    }();
    return functions;
}

struct AutomationLink {
    AutomatedText* text; // null once the window is gone
};

// COM objects are released, never deleted through an interface.
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

namespace {

constexpr wchar_t kDocumentName[] = L"Текст документа";

bool IsWordCharacter(char16_t c) {
    return IsCharAlphaNumericW(wchar_t(c)) || c == u'_';
}

BSTR NewBstr(std::u16string_view text) {
    return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), UINT(text.size()));
}

// IUnknown for one object that answers for the interfaces it lists.
template <class... Interfaces> class ComObject : public Interfaces... {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown))
            *out = static_cast<IUnknown*>(static_cast<First*>(this));
        ((iid == __uuidof(Interfaces) ? (*out = static_cast<Interfaces*>(this), true) : false) || ...);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

protected:
    virtual ~ComObject() = default;

private:
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    std::atomic<ULONG> references_{1};
};

// Every call: out must be given, and the view must still be there; a step that runs out of memory
// says so rather than letting the exception reach COM.
template <class T, class Step> HRESULT Answer(const AutomatedText* text, T* out, Step&& step) {
    if (!out)
        return E_POINTER;
    if constexpr (std::is_pointer_v<T>)
        *out = nullptr; // nothing handed out on failure
    if (!text)
        return kUiaElementNotAvailable;
    try {
        step();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

class TextRange;

class DocumentProvider : public ComObject<IRawElementProviderSimple, ITextProvider, IValueProvider> {
public:
    explicit DocumentProvider(std::shared_ptr<AutomationLink> link) : link_(std::move(link)) {}

    AutomatedText* Text() const { return link_->text; }
    ITextRangeProvider* NewRange(int32_t start, int32_t end);

    // IRawElementProviderSimple
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        if (!options)
            return E_POINTER;
        *options = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** provider) override;
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** host) override;

    // ITextProvider
    HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** ranges) override;
    HRESULT STDMETHODCALLTYPE GetVisibleRanges(SAFEARRAY** ranges) override;
    HRESULT STDMETHODCALLTYPE RangeFromChild(IRawElementProviderSimple*,
                                             ITextRangeProvider** range) override {
        if (range)
            *range = nullptr;
        return Text() ? E_INVALIDARG : kUiaElementNotAvailable; // the document has no children
    }
    HRESULT STDMETHODCALLTYPE RangeFromPoint(UiaPoint point, ITextRangeProvider** range) override;
    HRESULT STDMETHODCALLTYPE get_DocumentRange(ITextRangeProvider** range) override;
    HRESULT STDMETHODCALLTYPE get_SupportedTextSelection(int* selection) override {
        return Answer(Text(), selection, [&] { *selection = kSelectionSingle; });
    }

    // IValueProvider
    HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) override;
    HRESULT STDMETHODCALLTYPE get_Value(BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* readOnly) override {
        return Answer(Text(), readOnly, [&] { *readOnly = FALSE; });
    }

private:
    HRESULT OneRange(TextSpan span, SAFEARRAY** ranges);

    std::shared_ptr<AutomationLink> link_;
};

class TextRange : public ComObject<ITextRangeProvider, IQuilletTextRange> {
public:
    TextRange(DocumentProvider* document, int32_t start, int32_t end)
        : document_(document), start_(start), end_(end) {
        document_->AddRef();
    }

    TextSpan Span() const {
        const int32_t length = document_->Text() ? document_->Text()->Model().TextLength() : 0;
        const int32_t start = std::clamp(start_, 0, length);
        return {start, std::clamp(end_, start, length)};
    }

    HRESULT STDMETHODCALLTYPE Clone(ITextRangeProvider** copy) override {
        return Answer(copy, [&] { *copy = new TextRange(document_, start_, end_); });
    }
    HRESULT STDMETHODCALLTYPE Compare(ITextRangeProvider* range, BOOL* same) override {
        return Answer(same, [&] {
            const TextRange* other = Ours(range);
            *same = other && other->Span().start == Span().start && other->Span().end == Span().end;
        });
    }
    HRESULT STDMETHODCALLTYPE CompareEndpoints(int endpoint, ITextRangeProvider* target, int targetEndpoint,
                                               int* order) override {
        const TextRange* other = Ours(target);
        if (!other)
            return E_INVALIDARG;
        return Answer(order, [&] { *order = Endpoint(endpoint) - other->Endpoint(targetEndpoint); });
    }
    HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit(TextUnit unit) override {
        return Do([&](TextUnits& units) {
            const TextSpan span = units.Enclosing(Span().start, unit);
            start_ = span.start;
            end_ = span.end;
        });
    }
    HRESULT STDMETHODCALLTYPE FindAttribute(int attribute, VARIANT value, BOOL,
                                            ITextRangeProvider** found) override;
    HRESULT STDMETHODCALLTYPE FindText(BSTR text, BOOL backward, BOOL ignoreCase,
                                       ITextRangeProvider** found) override;
    HRESULT STDMETHODCALLTYPE GetAttributeValue(int attribute, VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE GetBoundingRectangles(SAFEARRAY** rectangles) override;
    HRESULT STDMETHODCALLTYPE GetEnclosingElement(IRawElementProviderSimple** element) override {
        return Answer(element, [&] {
            *element = document_;
            document_->AddRef();
        });
    }
    HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) override {
        return Answer(text, [&] {
            const TextSpan span = Span();
            const int32_t end = maxLength < 0 ? span.end : std::min(span.end, span.start + maxLength);
            // Only what is asked for is copied: one line of a large document is one line.
            *text = NewBstr(document_->Text()->Model().Range(span.start, end));
        });
    }
    HRESULT STDMETHODCALLTYPE Move(TextUnit unit, int count, int* moved) override;
    HRESULT STDMETHODCALLTYPE MoveEndpointByUnit(int endpoint, TextUnit unit, int count, int* moved) override;
    HRESULT STDMETHODCALLTYPE MoveEndpointByRange(int endpoint, ITextRangeProvider* target,
                                                  int targetEndpoint) override {
        const TextRange* other = Ours(target);
        if (!other)
            return E_INVALIDARG;
        return Do([&](TextUnits&) { SetEndpoint(endpoint, other->Endpoint(targetEndpoint)); });
    }
    HRESULT STDMETHODCALLTYPE Select() override {
        return Do([&](TextUnits&) { document_->Text()->Model().SetSelection(Span().start, Span().end); });
    }
    HRESULT STDMETHODCALLTYPE AddToSelection() override {
        return Available() ? kUiaInvalidOperation : kUiaElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE RemoveFromSelection() override {
        return Available() ? kUiaInvalidOperation : kUiaElementNotAvailable;
    }
    HRESULT STDMETHODCALLTYPE ScrollIntoView(BOOL alignToTop) override {
        return Do(
            [&](TextUnits&) { document_->Text()->ShowPosition(alignToTop ? Span().start : Span().end); });
    }
    HRESULT STDMETHODCALLTYPE GetChildren(SAFEARRAY** children) override {
        return Answer(children, [&] { *children = SafeArrayCreateVector(VT_UNKNOWN, 0, 0); });
    }

private:
    ~TextRange() override { document_->Release(); }

    bool Available() const { return document_->Text() != nullptr; }
    int32_t Endpoint(int endpoint) const { return endpoint == kEndpointStart ? Span().start : Span().end; }
    // Moving one end past the other takes the other along.
    void SetEndpoint(int endpoint, int32_t position) {
        const TextSpan span = Span();
        if (endpoint == kEndpointStart) {
            start_ = position;
            end_ = std::max(span.end, position);
        } else {
            end_ = position;
            start_ = std::min(span.start, position);
        }
    }
    static const TextRange* Ours(ITextRangeProvider* range) {
        IQuilletTextRange* ours = nullptr;
        if (!range ||
            FAILED(range->QueryInterface(__uuidof(IQuilletTextRange), reinterpret_cast<void**>(&ours))))
            return nullptr;
        ours->Release(); // the caller holds the range
        return static_cast<const TextRange*>(ours);
    }
    template <class T, class Step> HRESULT Answer(T* out, Step&& step) {
        return win32::Answer(document_->Text(), out, step);
    }
    template <class Step> HRESULT Do(Step&& step) {
        int unused;
        return Answer(&unused, [&] {
            AutomatedText& text = *document_->Text();
            TextUnits units(text.Model(), text.Rows(), IsWordCharacter);
            step(units);
        });
    }

    DocumentProvider* document_; // our reference
    int32_t start_;
    int32_t end_;
};

ITextRangeProvider* DocumentProvider::NewRange(int32_t start, int32_t end) {
    return new TextRange(this, start, end);
}

HRESULT DocumentProvider::GetPatternProvider(PATTERNID pattern, IUnknown** provider) {
    if (!provider)
        return E_POINTER;
    *provider = nullptr;
    if (!Text())
        return kUiaElementNotAvailable;
    if (pattern == UIA_TextPatternId)
        *provider = static_cast<ITextProvider*>(this);
    else if (pattern == UIA_ValuePatternId)
        *provider = static_cast<IValueProvider*>(this);
    if (*provider)
        (*provider)->AddRef();
    return S_OK;
}

HRESULT DocumentProvider::GetPropertyValue(PROPERTYID property, VARIANT* value) {
    if (!value)
        return E_POINTER;
    VariantInit(value);
    AutomatedText* text = Text();
    if (!text)
        return kUiaElementNotAvailable;
    auto setBool = [&](bool b) {
        value->vt = VT_BOOL;
        value->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
    };
    switch (property) {
    case UIA_ControlTypePropertyId:
        value->vt = VT_I4;
        value->lVal = kUiaDocumentControlType;
        break;
    case UIA_NamePropertyId:
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(kDocumentName);
        break;
    case UIA_IsKeyboardFocusablePropertyId: setBool(true); break;
    case UIA_HasKeyboardFocusPropertyId: setBool(GetFocus() == text->Window()); break;
    case UIA_IsPasswordPropertyId: setBool(false); break;
    case UIA_IsTextPatternAvailablePropertyId:
    case UIA_IsValuePatternAvailablePropertyId: setBool(true); break;
    case UIA_ValueIsReadOnlyPropertyId: setBool(false); break;
    default: break; // VT_EMPTY: the host window answers the rest
    }
    return S_OK;
}

HRESULT DocumentProvider::get_HostRawElementProvider(IRawElementProviderSimple** host) {
    HRESULT result = S_OK;
    const HRESULT answer = Answer(Text(), host, [&] {
        if (Uia().hostProviderFromHwnd)
            result = Uia().hostProviderFromHwnd(Text()->Window(), host);
    });
    return answer == S_OK ? result : answer;
}

HRESULT DocumentProvider::OneRange(TextSpan span, SAFEARRAY** ranges) {
    if (!ranges)
        return E_POINTER;
    *ranges = nullptr;
    if (!Text())
        return kUiaElementNotAvailable;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, 1);
    if (!array)
        return E_OUTOFMEMORY;
    LONG index = 0;
    ITextRangeProvider* range = NewRange(span.start, span.end);
    const HRESULT put = SafeArrayPutElement(array, &index, range); // takes its own reference
    range->Release();
    if (FAILED(put)) {
        SafeArrayDestroy(array);
        return put;
    }
    *ranges = array;
    return S_OK;
}

HRESULT DocumentProvider::GetSelection(SAFEARRAY** ranges) {
    if (!Text())
        return OneRange({}, ranges);
    const TextModel& model = Text()->Model();
    return OneRange({model.SelStart(), model.SelStart() + model.SelLength()}, ranges);
}

HRESULT DocumentProvider::GetVisibleRanges(SAFEARRAY** ranges) {
    return OneRange(Text() ? Text()->VisibleSpan() : TextSpan{}, ranges);
}

HRESULT DocumentProvider::RangeFromPoint(UiaPoint point, ITextRangeProvider** range) {
    return Answer(Text(), range, [&] {
        POINT client{LONG(point.x), LONG(point.y)};
        ScreenToClient(Text()->Window(), &client);
        const int32_t position = Text()->PositionAtClientPoint(client);
        *range = NewRange(position, position);
    });
}

HRESULT DocumentProvider::get_DocumentRange(ITextRangeProvider** range) {
    return Answer(Text(), range, [&] { *range = NewRange(0, Text()->Model().TextLength()); });
}

HRESULT DocumentProvider::SetValue(LPCWSTR value) {
    if (!value)
        return E_INVALIDARG;
    if (!Text())
        return kUiaElementNotAvailable;
    try {
        TextModel& model = Text()->Model();
        // One edit, so one Undo takes it back.
        model.ReplaceRange(0, model.TextLength(), reinterpret_cast<const char16_t*>(value),
                           EditKind::Program);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT DocumentProvider::get_Value(BSTR* value) {
    const HRESULT answer = Answer(Text(), value, [&] { *value = NewBstr(Text()->Model().Text()); });
    return answer == S_OK && !*value ? E_OUTOFMEMORY : answer;
}

HRESULT TextRange::Move(TextUnit unit, int count, int* moved) {
    return Answer(moved, [&] {
        AutomatedText& text = *document_->Text();
        TextUnits units(text.Model(), text.Rows(), IsWordCharacter);
        const TextSpan span = Span();
        if (span.start == span.end) {
            start_ = end_ = units.Step(span.start, unit, count, *moved);
            return;
        }
        // A range moves as a whole unit: from the start of its first, count units on.
        const int32_t from = units.Enclosing(span.start, unit).start;
        const int32_t to = units.Step(from, unit, count, *moved);
        if (*moved == 0)
            return;
        start_ = to;
        end_ = units.Enclosing(to, unit).end;
        if (to == text.Model().TextLength())
            end_ = to;
    });
}

HRESULT TextRange::MoveEndpointByUnit(int endpoint, TextUnit unit, int count, int* moved) {
    return Answer(moved, [&] {
        AutomatedText& text = *document_->Text();
        TextUnits units(text.Model(), text.Rows(), IsWordCharacter);
        SetEndpoint(endpoint, units.Step(Endpoint(endpoint), unit, count, *moved));
    });
}

HRESULT TextRange::GetAttributeValue(int attribute, VARIANT* value) {
    return Answer(value, [&] {
        VariantInit(value);
        const FontSpec font = document_->Text()->Model().Font();
        switch (attribute) {
        case kUiaFontNameAttribute:
            value->vt = VT_BSTR;
            value->bstrVal = NewBstr(font.name);
            return;
        case kUiaFontSizeAttribute:
            value->vt = VT_R8;
            value->dblVal = font.size;
            return;
        case kUiaFontWeightAttribute:
            value->vt = VT_I4;
            value->lVal = font.bold ? FW_BOLD : FW_NORMAL;
            return;
        case kUiaIsItalicAttribute:
        case kUiaIsReadOnlyAttribute:
            value->vt = VT_BOOL;
            value->boolVal = attribute == kUiaIsItalicAttribute && font.italic ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        default:
            if (Uia().getReservedNotSupportedValue &&
                SUCCEEDED(Uia().getReservedNotSupportedValue(&value->punkVal)))
                value->vt = VT_UNKNOWN;
            return;
        }
    });
}

HRESULT TextRange::FindAttribute(int attribute, VARIANT value, BOOL, ITextRangeProvider** found) {
    return Answer(found, [&] {
        *found = nullptr;
        // The whole text has one format: the range matches whole or not at all.
        VARIANT own;
        if (FAILED(GetAttributeValue(attribute, &own)))
            return;
        if (own.vt != VT_UNKNOWN && VarCmp(&own, &value, LOCALE_USER_DEFAULT, 0) == HRESULT(VARCMP_EQ))
            *found = new TextRange(document_, Span().start, Span().end);
        VariantClear(&own);
    });
}

HRESULT TextRange::FindText(BSTR text, BOOL backward, BOOL ignoreCase, ITextRangeProvider** found) {
    if (!text || SysStringLen(text) == 0)
        return E_INVALIDARG;
    return Answer(found, [&] {
        *found = nullptr;
        const std::u16string_view pattern(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
        const TextModel& model = document_->Text()->Model();
        const FindOption option = ignoreCase ? FindOption::IgnoreCase : FindOption::MatchCase;
        const TextSpan span = Span();
        int32_t match = -1;
        for (int32_t at = model.Search(pattern, span.start, option);
             at >= 0 && at + int32_t(pattern.size()) <= span.end;
             at = model.Search(pattern, at + 1, option)) {
            match = at;
            if (!backward)
                break;
        }
        if (match >= 0)
            *found = new TextRange(document_, match, match + int32_t(pattern.size()));
    });
}

HRESULT TextRange::GetBoundingRectangles(SAFEARRAY** rectangles) {
    return Answer(rectangles, [&] {
        AutomatedText& text = *document_->Text();
        const std::vector<RECT> rows = text.SpanRectangles(Span());
        *rectangles = SafeArrayCreateVector(VT_R8, 0, ULONG(rows.size() * 4));
        if (!*rectangles)
            throw std::bad_alloc();
        double* out = nullptr;
        SafeArrayAccessData(*rectangles, reinterpret_cast<void**>(&out));
        for (RECT rc : rows) {
            POINT topLeft{rc.left, rc.top};
            ClientToScreen(text.Window(), &topLeft);
            *out++ = topLeft.x;
            *out++ = topLeft.y;
            *out++ = rc.right - rc.left;
            *out++ = rc.bottom - rc.top;
        }
        SafeArrayUnaccessData(*rectangles);
    });
}

} // namespace

TextViewAutomation::TextViewAutomation(AutomatedText& text)
    : link_(std::make_shared<AutomationLink>(AutomationLink{&text})) {}

TextViewAutomation::~TextViewAutomation() {
    Disconnect();
}

IRawElementProviderSimple* TextViewAutomation::Root() {
    if (!link_->text)
        return nullptr;
    if (!root_)
        root_ = new DocumentProvider(link_);
    root_->AddRef();
    return root_;
}

LRESULT TextViewAutomation::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (LONG(lParam) != kUiaRootObjectId || !Uia().returnRawElementProvider)
        return 0;
    IRawElementProviderSimple* root = Root();
    if (!root)
        return 0;
    const LRESULT result = Uia().returnRawElementProvider(link_->text->Window(), wParam, lParam, root);
    root->Release();
    return result;
}

void TextViewAutomation::TextChanged() {
    Raise(kUiaTextChangedEvent);
}

void TextViewAutomation::SelectionChanged() {
    Raise(kUiaTextSelectionChangedEvent);
}

void TextViewAutomation::Raise(int event) {
    if (root_ && Uia().raiseAutomationEvent && Uia().clientsAreListening && Uia().clientsAreListening())
        Uia().raiseAutomationEvent(root_, event);
}

void TextViewAutomation::Disconnect() {
    if (!link_->text)
        return;
    const HWND window = link_->text->Window();
    link_->text = nullptr;
    if (root_) {
        if (Uia().returnRawElementProvider && window)
            Uia().returnRawElementProvider(window, 0, 0, nullptr); // UI Automation lets go of it
        root_->Release();
        root_ = nullptr;
    }
}

} // namespace quillet::win32
