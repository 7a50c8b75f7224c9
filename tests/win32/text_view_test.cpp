// What only the Win32 text view decides: keys, mouse, wrapping at its width, the standard edit
// messages and EN_CHANGE, driven by window messages as the system delivers them; and the view read
// as a screen reader reads it, through the UI Automation provider and its ranges.

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

constexpr UINT kEmSetTargetDevice = WM_USER + 72;

// The editor's side of the view: takes the key `swallow`, and for the key `insert` puts in its
// own text while letting waiting messages through, as a message box shown from a key does.
class Handler : public TextControlEvents {
public:
    explicit Handler(TextView& view) : view_(view) {}
    void OnChange() override {}
    bool OnKeyDown(int32_t keyCode, int32_t shift) override {
        lastKey = {keyCode, shift};
        if (keyCode == insert) {
            testing_win32::Pump();
            view_.SetSelText(u"[mine]");
        }
        return keyCode == swallow;
    }
    void OnMouseDown(int16_t button, int16_t, int32_t, int32_t) override { buttons.push_back(button); }
    int32_t swallow = -1, insert = -1;
    std::pair<int32_t, int32_t> lastKey;
    std::vector<int16_t> buttons;

private:
    TextView& view_;
};

std::vector<int> raised;
BOOL WINAPI Listening() {
    return TRUE;
}
HRESULT WINAPI Record(IRawElementProviderSimple*, int event) {
    raised.push_back(event);
    return S_OK;
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

class TextViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(view.Create(host.Handle(), 1001, GetModuleHandleW(nullptr)));
        MoveWindow(view.Handle(), 0, 0, 360, 240, TRUE);
        view.SetEvents(&handler);
        ::SetFocus(view.Handle());
    }
    void TearDown() override {
        view.SetEvents(nullptr);
        for (IUnknown* object : {static_cast<IUnknown*>(text), static_cast<IUnknown*>(root)})
            if (object)
                object->Release();
    }

    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageW(view.Handle(), msg, w, l); }
    void Key(WPARAM vk, bool shift = false, bool ctrl = false) {
        testing_win32::HoldKeys(shift, ctrl);
        Send(WM_KEYDOWN, vk, 1);
        testing_win32::HoldKeys(false, false);
    }
    // As the loop delivers a key: TranslateMessage has queued its character before the key-down.
    void Press(WPARAM vk, wchar_t ch) {
        PostMessageW(view.Handle(), WM_CHAR, ch, 1);
        Send(WM_KEYDOWN, vk, 1);
        testing_win32::Pump();
    }

    // The view's text pattern and its ranges, as a screen reader gets them.
    ITextProvider* TextPattern() {
        root = view.Automation().Root();
        text = Pattern<ITextProvider>(root, UIA_TextPatternId);
        return text;
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
    Handler handler{view};
    IRawElementProviderSimple* root = nullptr;
    ITextProvider* text = nullptr;
};

TEST_F(TextViewTest, KeysMoveByCharacterWordLineAndPageKeepingTheColumnAndShiftExtends) {
    view.SetText(u"Привет, мир\r\nвторая строка\r\nend");
    const struct {
        WPARAM key;
        bool shift, ctrl;
        int32_t anchor, caret;
    } steps[] = {
        {VK_END, false, false, 11, 11},   {VK_HOME, true, false, 11, 0},
        {VK_RIGHT, false, false, 11, 11}, // collapses to the selection's right end
        {VK_RIGHT, false, false, 13, 13}, // over the line break in one step
        {VK_HOME, false, true, 0, 0},     {VK_RIGHT, false, true, 6, 6}, // the comma is a stop of its own
        {VK_RIGHT, true, true, 6, 8},     {VK_DOWN, false, false, 21, 21},
        {VK_DOWN, false, false, 31, 31}, // "end" is shorter: its end
        {VK_UP, false, false, 21, 21},   // the remembered column comes back
        {VK_END, true, true, 21, 31},     {VK_HOME, true, true, 21, 0},
        {VK_NEXT, false, false, 28, 28}, // past the last row: the last line, same column
        {VK_PRIOR, false, false, 0, 0},
    };
    for (const auto& step : steps) {
        Key(step.key, step.shift, step.ctrl);
        EXPECT_EQ(std::make_pair(view.Model().Anchor(), view.Model().Caret()),
                  std::make_pair(step.anchor, step.caret))
            << "key " << step.key << (step.shift ? " with Shift" : "") << (step.ctrl ? " with Ctrl" : "");
    }
}

TEST_F(TextViewTest, KeysTypeAfterTheHandlerHadThemAndATakenKeyTypesNothingEvenIfTheHandlerPumps) {
    view.SetText(u"ab");
    Key(VK_END);
    for (wchar_t c : std::wstring(L"Жё\r\tz"))
        Press('A', c);
    EXPECT_EQ(view.Text(), u"abЖё\r\n\tz");
    for (WPARAM key : {VK_BACK, VK_BACK, VK_BACK, VK_HOME, VK_DELETE}) // the whole CR LF at once
        Key(key);
    Send(WM_CHAR, 0x07); // control characters other than Tab and Enter type nothing
    EXPECT_EQ(view.Text(), u"bЖё");
    Send(EM_UNDO);
    EXPECT_EQ(view.Text(), u"abЖё");

    handler.swallow = VK_HOME; // a taken key moves nothing
    Key(VK_HOME, true);
    EXPECT_EQ(view.SelStart(), 0);
    EXPECT_EQ(handler.lastKey, std::make_pair(int32_t(VK_HOME), int32_t(kShiftMask)));
    view.SetText(u"");
    ASSERT_TRUE(clipboard.SetText(u"[clipboard]"));
    handler.swallow = 'Q';
    Press('Q', L'q');
    handler.swallow = handler.insert = 'V';
    Press('V', 0x16); // its character comes while the handler pumps: Ctrl+V's would paste again
    Press('B', L'b');
    handler.swallow = -1; // a key left to the view types its character once, after the handler
    Press('V', L'v');
    EXPECT_EQ(view.Text(), u"[mine]b[mine]v");
}

TEST_F(TextViewTest, TheStandardEditMessagesWorkFromOutsideAndEveryChangeSendsEnChange) {
    std::u16string text = u"Съешь же ещё\r\nэтих булок";
    Send(WM_SETTEXT, 0, LPARAM(text.c_str()));
    EXPECT_EQ(host.enChanges, 1);
    char16_t small[5] = {u'x', u'x', u'x', u'x', u'x'}; // gets the start and a NUL
    EXPECT_EQ(Send(WM_GETTEXT, 5, LPARAM(small)), 4);
    EXPECT_EQ(std::u16string(small), u"Съеш");
    Send(EM_SETSEL, 6, 8);
    Send(EM_REPLACESEL, TRUE, LPARAM(u"же\r\nже"));
    EXPECT_EQ(view.Text(), u"Съешь же\r\nже ещё\r\nэтих булок");
    EXPECT_EQ(host.enChanges, 2);
    EXPECT_EQ(Send(EM_GETSEL), MAKELRESULT(12, 12));
    Send(EM_SETSEL, 0, -1);
    EXPECT_EQ(Send(EM_GETSEL), MAKELRESULT(0, 28));
    Send(EM_SETSEL, WPARAM(-1), 0);
    EXPECT_EQ(view.SelLength(), 0);
    Send(WM_CHAR, u'я');
    EXPECT_EQ(host.enChanges, 3);
    EXPECT_TRUE(Send(EM_CANUNDO));
}

TEST_F(TextViewTest, CopyCutPasteAndClearUseTheClipboardAndANulIsKeptDrawnAndCopied) {
    view.SetText(u"один два");
    Send(EM_SETSEL, 0, 4);
    Send(WM_COPY);
    Send(EM_SETSEL, 8, 8);
    Key(VK_INSERT, true, false); // Shift+Insert pastes
    Send(EM_SETSEL, 4, 8);
    Send(WM_CUT);
    Send(EM_SETSEL, 0, 0);
    Send(WM_PASTE);
    EXPECT_EQ(view.Text(), u" дваодинодин");
    Send(EM_SETSEL, 0, 4);
    Send(WM_CLEAR);
    EXPECT_EQ(view.Text(), u"одинодин");

    view.SetText(std::u16string(u"a\0b", 3));
    Key(VK_END); // the line goes on after the NUL
    EXPECT_EQ(view.SelStart(), 3);
    Send(EM_SETSEL, 2, 2);
    const LONG afterNul = view.CaretPoint().x;
    Send(EM_SETSEL, 1, 1);
    EXPECT_GT(afterNul, view.CaretPoint().x) << "the NUL takes room like a character";
    Send(EM_SETSEL, 0, 3);
    Send(WM_COPY);
    ASSERT_TRUE(OpenClipboard(host.Handle()));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    EXPECT_EQ(std::u16string(static_cast<const char16_t*>(GlobalLock(data)), 4),
              std::u16string(u"a\0b\0", 4));
    GlobalUnlock(data);
    CloseClipboard();
}

TEST_F(TextViewTest, WrapsAtItsWidthAndGoesByRows) {
    std::u16string line;
    for (int i = 0; i < 60; ++i)
        line += u"слово ";
    view.SetText(line + u"\r\nshort\r\n" + line);
    EXPECT_EQ(view.RowCount(), 3);
    Send(kEmSetTargetDevice, 0, 0);
    view.CompleteLayout();
    const int32_t wrapped = view.RowCount();
    EXPECT_GT(wrapped, 6);
    MoveWindow(view.Handle(), 0, 0, 200, 240, TRUE);
    view.CompleteLayout();
    EXPECT_GT(view.RowCount(), wrapped);
    Send(EM_SETSEL, 0, 0);
    Key(VK_END); // the end of the row, before its trailing space
    const int32_t rowEnd = view.SelStart();
    EXPECT_TRUE(rowEnd > 0 && rowEnd < int32_t(line.size())) << rowEnd;
    EXPECT_EQ(view.Model().CharAt(rowEnd), u' ');
    Key(VK_HOME);
    Key(VK_DOWN);
    EXPECT_EQ(view.SelStart(), rowEnd + 1);

    Send(kEmSetTargetDevice, 0, 1);
    EXPECT_EQ(view.RowCount(), 3);
}

TEST_F(TextViewTest, ClicksReachTheHandlerAndPlaceTheCaretADoubleClickSelectsAWord) {
    view.SetText(u"первое слово\r\nвторая строка");
    const int h = view.LineHeight(), x = view.CaretPoint().x + 20;
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, h + h / 2));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(x, h + h / 2));
    EXPECT_EQ(view.Model().LineFromPosition(view.SelStart()), 1);
    EXPECT_GT(view.SelStart(), 14);
    Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, h + h / 2));
    EXPECT_EQ(view.SelText(), u"вторая ");
    Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(96, 48));
    EXPECT_EQ(view.SelText(), u"вторая ") << "a right click leaves the selection to the menu";
    EXPECT_EQ(handler.buttons, (std::vector<int16_t>{kLeftButton, kLeftButton, kRightButton}));
}

TEST_F(TextViewTest, AScreenReaderReadsLinesWordsAndTheSelectionHearsOfTypingAndCopiesOnlyWhatItReads) {
    ASSERT_TRUE(TextPattern());
    view.SetText(u"Привет, мир!\r\nВторая строка, в которой слов столько, что она переносится.\r\nend");
    view.Model().SetSelection(0, 6);

    // The element's name; its control type as a screen reader in another process gets it is
    // checked end to end.
    VARIANT value;
    VariantInit(&value);
    ASSERT_EQ(root->GetPropertyValue(UIA_NamePropertyId, &value), S_OK);
    ASSERT_EQ(value.vt, VT_BSTR);
    EXPECT_STREQ(value.bstrVal, L"Текст документа");
    VariantClear(&value);

    // The first line and the selection; moving by word (which takes a word's bounds) and by line.
    ITextRangeProvider* line = Document();
    ASSERT_EQ(line->MoveEndpointByRange(kEndpointEnd, line, kEndpointStart), S_OK);
    ASSERT_EQ(line->ExpandToEnclosingUnit(TextUnit::Line), S_OK);
    EXPECT_EQ(Text(line), u"Привет, мир!\r\n");
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

    // Found with the model's case folding, and drawn where the word is.
    ITextRangeProvider* found = nullptr;
    BSTR pattern = SysAllocString(L"СТРОКА");
    ASSERT_EQ(line->FindText(pattern, FALSE, TRUE, &found), S_OK);
    ASSERT_TRUE(found);
    EXPECT_EQ(Text(found), u"строка");
    found->Release();
    ASSERT_EQ(line->FindText(pattern, FALSE, FALSE, &found), S_OK);
    EXPECT_EQ(found, nullptr);
    SysFreeString(pattern);
    SAFEARRAY* boxes = nullptr;
    ASSERT_EQ(selection->GetBoundingRectangles(&boxes), S_OK);
    ASSERT_EQ(boxes->rgsabound[0].cElements, 4u); // one row, four numbers
    POINT origin{0, 0};
    ClientToScreen(view.Handle(), &origin);
    double* box = static_cast<double*>(boxes->pvData);
    EXPECT_EQ(box[1], origin.y);
    EXPECT_GT(box[2], 10.0); // three letters wide
    SafeArrayDestroy(boxes);

    // The value, set as one step.
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

    // Reading one line of a large document copies that line only.
    const std::u16string sentence = u"Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n";
    std::u16string big;
    big.reserve(50'000'000 + SpareRoomFor(50'000'000));
    while (big.size() < 50'000'000)
        big += sentence;
    view.SetText(std::move(big));
    ASSERT_EQ(line->Move(TextUnit::Paragraph, 1000, &moved), S_OK);
    EXPECT_EQ(moved, 1000);
    allocated = 0;
    counting = true;
    const std::u16string read = Text(line);
    counting = false;
    EXPECT_EQ(read, sentence);
    EXPECT_LT(allocated.load(), 4096u);

    // Once the window is gone, every range and the element say so, and nothing crashes.
    DestroyWindow(view.Handle());
    BSTR gone = nullptr;
    EXPECT_EQ(selection->GetText(-1, &gone), kUiaElementNotAvailable);
    EXPECT_EQ(root->GetPropertyValue(UIA_NamePropertyId, &value), kUiaElementNotAvailable);
    EXPECT_EQ(valueProvider->SetValue(L"x"), kUiaElementNotAvailable);
    for (IUnknown* object : std::initializer_list<IUnknown*>{line, selection, valueProvider})
        object->Release();
}

} // namespace
} // namespace quillet::win32
