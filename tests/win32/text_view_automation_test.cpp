// The text view read as a screen reader reads it: its element through UI Automation's own client
// functions (what Wine has of them), its text through the provider's ranges.

#include "editor/win32/automation_api.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"

#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

// Counts what is allocated while counting is on: reading a line must not copy the document.
static std::atomic<size_t> allocated{0};
static std::atomic<bool> counting{false};
void* operator new(size_t size) {
    if (counting)
        allocated += size;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}

namespace quillet::win32 {
namespace {

std::vector<int> raised;
BOOL WINAPI Listening() {
    return TRUE;
}
HRESULT WINAPI Record(IRawElementProviderSimple*, int event) {
    raised.push_back(event);
    return S_OK;
}

template <typename Function> Function* Load(const char* name) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"uiautomationcore.dll"), name)));
}

template <typename Interface> Interface* Pattern(IRawElementProviderSimple* root, int id) {
    IUnknown* pattern = nullptr;
    Interface* wanted = nullptr;
    if (root->GetPatternProvider(id, &pattern) == S_OK && pattern) {
        pattern->QueryInterface(__uuidof(Interface), reinterpret_cast<void**>(&wanted));
        pattern->Release();
    }
    return wanted;
}

class TextViewAutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Handle(), 1001, GetModuleHandleW(nullptr)));
        MoveWindow(view.Handle(), 0, 0, 360, 240, TRUE);
        root = view.Automation().Root();
        ASSERT_TRUE(root);
        text = Pattern<ITextProvider>(root, UIA_TextPatternId);
        ASSERT_TRUE(text);
    }
    void TearDown() override {
        for (IUnknown* object : {static_cast<IUnknown*>(text), static_cast<IUnknown*>(root)})
            if (object)
                object->Release();
    }
    ITextRangeProvider* Selection() {
        SAFEARRAY* ranges = nullptr;
        EXPECT_EQ(text->GetSelection(&ranges), S_OK);
        LONG index = 0;
        ITextRangeProvider* range = nullptr;
        SafeArrayGetElement(ranges, &index, &range);
        SafeArrayDestroy(ranges);
        return range;
    }
    ITextRangeProvider* Document() {
        ITextRangeProvider* range = nullptr;
        EXPECT_EQ(text->get_DocumentRange(&range), S_OK);
        return range;
    }
    static std::u16string Text(ITextRangeProvider* range, int max = -1) {
        BSTR s = nullptr;
        if (FAILED(range->GetText(max, &s)))
            return u"<failed>";
        std::u16string out(reinterpret_cast<const char16_t*>(s), SysStringLen(s));
        SysFreeString(s);
        return out;
    }

    testing_win32::HostWindow host;
    ClipboardWin32 clipboard{host.Handle()};
    TextView view{clipboard};
    IRawElementProviderSimple* root = nullptr;
    ITextProvider* text = nullptr;
};

TEST_F(TextViewAutomationTest, AScreenReaderReadsLinesWordsAndTheSelectionMovesAndHearsOfTyping) {
    view.SetText(u"Привет, мир!\r\nВторая строка, в которой слов столько, что она переносится.\r\nend");
    view.Model().SetSelection(10, 10); // inside "мир"

    // The element, through the system's client side: a document with its name.
    auto nodeFromHandle = Load<HRESULT WINAPI(HWND, void**)>("UiaNodeFromHandle");
    auto getPropertyValue = Load<HRESULT WINAPI(void*, int, VARIANT*)>("UiaGetPropertyValue");
    void* node = nullptr;
    ASSERT_EQ(nodeFromHandle(view.Handle(), &node), S_OK);
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(getPropertyValue(node, UIA_ControlTypePropertyId, &value), S_OK);
    EXPECT_EQ(value.lVal, kUiaDocumentControlType);
    ASSERT_EQ(getPropertyValue(node, UIA_NamePropertyId, &value), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_STREQ(value.bstrVal, L"Текст документа");
    VariantClear(&value);
    Load<BOOL WINAPI(void*)>("UiaNodeRelease")(node);

    // The first line, the word at the caret, the selection; moving by word and by line.
    ITextRangeProvider* line = Document();
    ASSERT_EQ(line->MoveEndpointByRange(kEndpointEnd, line, kEndpointStart), S_OK);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Line), S_OK);
    EXPECT_EQ(Text(line), u"Привет, мир!\r\n");
    ITextRangeProvider* word = Selection();
    ASSERT_EQ(word->ExpandToEnclosingUnit(TextUnit::Word), S_OK);
    EXPECT_EQ(Text(word), u"мир");
    view.Model().SetSelection(0, 6);
    ITextRangeProvider* selection = Selection();
    EXPECT_EQ(Text(selection), u"Привет");
    int moved = 0;
    ASSERT_EQ(selection->Move(TextUnit::Word, 2, &moved), S_OK);
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(Text(selection), u"мир"); // past ", " as a word of its own
    ASSERT_EQ(line->Move(TextUnit::Line, 1, &moved), S_OK);
    const std::u16string wholeLine = Text(line);
    EXPECT_EQ(wholeLine.substr(0, 6), u"Вторая");
    // With word wrap on a line is a row; a paragraph is still the whole line.
    view.SetWordWrap(true);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Line), S_OK);
    const std::u16string row = Text(line);
    EXPECT_LT(row.size(), wholeLine.size());
    EXPECT_EQ(wholeLine.substr(0, row.size()), row);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Paragraph), S_OK);
    EXPECT_EQ(Text(line), wholeLine);
    EXPECT_EQ(Text(line, 6), u"Вторая"); // no more than asked for

    // Where the word is on the screen, found text, the font, the value.
    SAFEARRAY* boxes = nullptr;
    ASSERT_EQ(word->GetBoundingRectangles(&boxes), S_OK);
    ASSERT_EQ(boxes->rgsabound[0].cElements, 4u);
    const auto* box = static_cast<const double*>(boxes->pvData);
    POINT origin{0, 0};
    ClientToScreen(view.Handle(), &origin);
    EXPECT_EQ(box[1], origin.y); // the first row
    EXPECT_GT(box[2], 10.0);     // three letters wide
    SafeArrayDestroy(boxes);
    ITextRangeProvider* document = Document();
    ITextRangeProvider* found = nullptr;
    BSTR pattern = SysAllocString(L"СТРОКА");
    ASSERT_EQ(document->FindText(pattern, FALSE, TRUE, &found), S_OK);
    ASSERT_TRUE(found);
    EXPECT_EQ(Text(found), u"строка");
    found->Release();
    ASSERT_EQ(document->FindText(pattern, FALSE, FALSE, &found), S_OK);
    EXPECT_EQ(found, nullptr); // case matters when asked
    SysFreeString(pattern);
    ASSERT_EQ(document->GetAttributeValue(kUiaFontNameAttribute, &value), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(value.bstrVal)), view.Font().name);
    VariantClear(&value);
    IValueProvider* valueProvider = Pattern<IValueProvider>(root, UIA_ValuePatternId);
    ASSERT_EQ(valueProvider->SetValue(L"новое"), S_OK);
    EXPECT_EQ(view.Text(), u"новое");
    view.Undo(); // one step takes it back
    EXPECT_EQ(view.Text().substr(0, 6), u"Привет");

    // Events while someone listens: typing changes the text, a caret move the selection.
    UiaFunctions saved = Uia();
    Uia().clientsAreListening = Listening;
    Uia().raiseAutomationEvent = Record;
    raised.clear();
    SendMessageW(view.Handle(), WM_CHAR, u'ж', 1);
    EXPECT_NE(std::find(raised.begin(), raised.end(), kUiaTextChangedEvent), raised.end());
    raised.clear();
    view.Model().SetSelection(2, 2);
    EXPECT_EQ(raised, std::vector<int>{kUiaTextSelectionChangedEvent});
    Uia() = saved;

    // Once the window is gone, every range and the element say so, and nothing crashes.
    DestroyWindow(view.Handle());
    BSTR gone = nullptr;
    EXPECT_EQ(word->GetText(-1, &gone), kUiaElementNotAvailable);
    EXPECT_EQ(root->GetPropertyValue(UIA_NamePropertyId, &value), kUiaElementNotAvailable);
    EXPECT_EQ(valueProvider->SetValue(L"x"), kUiaElementNotAvailable);
    for (IUnknown* object : std::initializer_list<IUnknown*>{line, word, selection, document, valueProvider})
        object->Release();
}

TEST_F(TextViewAutomationTest, ReadingOneLineOfALargeDocumentCopiesThatLineOnly) {
    const std::u16string sentence = u"Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n";
    std::u16string big;
    big.reserve(50'000'000 + SpareRoomFor(50'000'000));
    while (big.size() < 50'000'000)
        big += sentence;
    view.SetText(std::move(big));
    ITextRangeProvider* range = Document();
    int moved = 0;
    range->Move(TextUnit::Paragraph, 1000, &moved);
    EXPECT_EQ(moved, 1000);
    allocated = 0;
    counting = true;
    const std::u16string line = Text(range);
    counting = false;
    EXPECT_EQ(line, sentence);
    EXPECT_LT(allocated.load(), 4096u);
    range->Release();
}

} // namespace
} // namespace quillet::win32
