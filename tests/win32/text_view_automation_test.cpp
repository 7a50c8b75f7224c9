// The text view read as a screen reader reads it: its element through UI Automation's own client
// functions (what Wine has of them), its text through the provider's ranges.

#include "editor/win32/automation_api.h"
#include "editor/win32/clipboard_win32.h"
#include "editor/win32/text_view.h"
#include "tests/win32/win32_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

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

struct UiaClient {
    HRESULT(WINAPI* nodeFromHandle)(HWND, void**) = nullptr;
    HRESULT(WINAPI* getPropertyValue)(void*, int, VARIANT*) = nullptr;
    BOOL(WINAPI* nodeRelease)(void*) = nullptr;
    UiaClient() {
        HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
        auto load = [&](auto& pointer, const char* name) {
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
                reinterpret_cast<void*>(GetProcAddress(dll, name)));
        };
        load(nodeFromHandle, "UiaNodeFromHandle");
        load(getPropertyValue, "UiaGetPropertyValue");
        load(nodeRelease, "UiaNodeRelease");
    }
};

std::vector<int> raised;
BOOL WINAPI Listening() {
    return TRUE;
}
HRESULT WINAPI Record(IRawElementProviderSimple*, int event) {
    raised.push_back(event);
    return S_OK;
}

class TextViewAutomationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Handle(), 1001, GetModuleHandleW(nullptr)));
        MoveWindow(view.Handle(), 0, 0, 360, 240, TRUE);
        SetForegroundWindow(host.Handle());
        ::SetFocus(view.Handle());
        IRawElementProviderSimple* root = view.Automation().Root();
        ASSERT_TRUE(root);
        IUnknown* pattern = nullptr;
        ASSERT_EQ(root->GetPatternProvider(UIA_TextPatternId, &pattern), S_OK);
        ASSERT_TRUE(pattern);
        pattern->QueryInterface(__uuidof(ITextProvider), reinterpret_cast<void**>(&text));
        pattern->Release();
        root->Release();
        ASSERT_TRUE(text);
    }
    void TearDown() override {
        if (text)
            text->Release();
    }
    // The range the selection is, as a screen reader gets it.
    ITextRangeProvider* Selection() {
        SAFEARRAY* ranges = nullptr;
        EXPECT_EQ(text->GetSelection(&ranges), S_OK);
        LONG index = 0;
        ITextRangeProvider* range = nullptr;
        SafeArrayGetElement(ranges, &index, &range);
        SafeArrayDestroy(ranges);
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
    ITextProvider* text = nullptr;
};

TEST_F(TextViewAutomationTest, AScreenReaderReadsLinesWordsAndTheSelectionMovesAndHearsOfTyping) {
    view.SetText(u"Привет, мир!\r\nВторая строка, в которой слов столько, что она переносится.\r\nend");
    view.Model().SetSelection(10, 10); // inside "мир"

    // The element, through the system's client side: a document with its name.
    UiaClient client;
    ASSERT_TRUE(client.nodeFromHandle);
    void* node = nullptr;
    ASSERT_EQ(client.nodeFromHandle(view.Handle(), &node), S_OK);
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(client.getPropertyValue(node, UIA_ControlTypePropertyId, &value), S_OK);
    EXPECT_EQ(value.lVal, 50030);
    ASSERT_EQ(client.getPropertyValue(node, UIA_NamePropertyId, &value), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_STREQ(value.bstrVal, L"Текст документа");
    VariantClear(&value);
    client.nodeRelease(node);

    // The first line, the word at the caret, the selection.
    ITextRangeProvider* line = nullptr;
    ASSERT_EQ(text->get_DocumentRange(&line), S_OK);
    ASSERT_EQ(line->MoveEndpointByRange(kEndpointEnd, line, kEndpointStart), S_OK);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Line), S_OK);
    EXPECT_EQ(Text(line), u"Привет, мир!\r\n");
    ITextRangeProvider* word = Selection();
    ASSERT_EQ(word->ExpandToEnclosingUnit(TextUnit::Word), S_OK);
    EXPECT_EQ(Text(word), u"мир");
    view.Model().SetSelection(0, 6);
    ITextRangeProvider* selection = Selection();
    EXPECT_EQ(Text(selection), u"Привет");

    // By word and by line; a line is a row when word wrap is on, a paragraph is the whole line.
    int moved = 0;
    ASSERT_EQ(selection->Move(TextUnit::Word, 2, &moved), S_OK);
    EXPECT_EQ(moved, 2);
    EXPECT_EQ(Text(selection), u"мир"); // past ", " as a word of its own
    ASSERT_EQ(line->Move(TextUnit::Line, 1, &moved), S_OK);
    EXPECT_EQ(Text(line).substr(0, 6), u"Вторая");
    const std::u16string wholeLine = Text(line);
    view.SetWordWrap(true);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Line), S_OK);
    const std::u16string row = Text(line);
    EXPECT_LT(row.size(), wholeLine.size());
    EXPECT_EQ(wholeLine.substr(0, row.size()), row);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Paragraph), S_OK);
    EXPECT_EQ(Text(line), wholeLine);
    EXPECT_EQ(Text(line, 6), u"Вторая"); // no more than asked for

    // Where the row is on screen, found text, the font, the value.
    SAFEARRAY* boxes = nullptr;
    ASSERT_EQ(word->GetBoundingRectangles(&boxes), S_OK);
    double* box = nullptr;
    SafeArrayAccessData(boxes, reinterpret_cast<void**>(&box));
    POINT origin{0, 0};
    ClientToScreen(view.Handle(), &origin);
    ASSERT_EQ(boxes->rgsabound[0].cElements, 4u);
    EXPECT_EQ(box[1], origin.y); // the first row
    EXPECT_GT(box[2], 10.0);     // three letters wide
    SafeArrayUnaccessData(boxes);
    SafeArrayDestroy(boxes);
    ITextRangeProvider* document = nullptr;
    ASSERT_EQ(text->get_DocumentRange(&document), S_OK);
    ITextRangeProvider* found = nullptr;
    BSTR pattern = SysAllocString(L"СТРОКА");
    ASSERT_EQ(document->FindText(pattern, FALSE, TRUE, &found), S_OK);
    ASSERT_TRUE(found);
    EXPECT_EQ(Text(found), u"строка");
    found->Release();
    ASSERT_EQ(document->FindText(pattern, FALSE, FALSE, &found), S_OK);
    EXPECT_EQ(found, nullptr); // case matters when asked
    SysFreeString(pattern);
    ASSERT_EQ(document->GetAttributeValue(40005, &value), S_OK);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(value.bstrVal)), view.Font().name);
    VariantClear(&value);
    IUnknown* pattern2 = nullptr;
    IRawElementProviderSimple* root = view.Automation().Root();
    root->GetPatternProvider(UIA_ValuePatternId, &pattern2);
    IValueProvider* valueProvider = nullptr;
    pattern2->QueryInterface(__uuidof(IValueProvider), reinterpret_cast<void**>(&valueProvider));
    pattern2->Release();
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
    VariantInit(&value);
    EXPECT_EQ(root->GetPropertyValue(UIA_NamePropertyId, &value), kUiaElementNotAvailable);
    EXPECT_EQ(valueProvider->SetValue(L"x"), kUiaElementNotAvailable);
    for (IUnknown* object :
         std::initializer_list<IUnknown*>{line, word, selection, document, root, valueProvider})
        object->Release();
}

TEST_F(TextViewAutomationTest, ReadingOneLineOfALargeDocumentCopiesThatLineOnly) {
    std::u16string big;
    big.reserve(50'000'000 + SpareRoomFor(50'000'000));
    while (big.size() < 50'000'000)
        big += u"Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n";
    view.SetText(std::move(big));
    ITextRangeProvider* range = nullptr;
    ASSERT_EQ(text->get_DocumentRange(&range), S_OK);
    int moved = 0;
    range->Move(TextUnit::Paragraph, 1000, &moved);
    EXPECT_EQ(moved, 1000);
    allocated = 0;
    counting = true;
    const std::u16string line = Text(range);
    counting = false;
    EXPECT_EQ(line, u"Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    EXPECT_LT(allocated.load(), 4096u);
    range->Release();
}

} // namespace
} // namespace quillet::win32
