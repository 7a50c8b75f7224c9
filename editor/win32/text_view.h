#pragma once
// The editor's own plain-text control: a window that draws a TextModel with GDI, keeps a
// system caret at the insertion point, scrolls, wraps at its width or not, and edits as
// Windows users expect. It also answers the standard edit-control messages (WM_SETTEXT,
// WM_GETTEXT, EM_GETSEL/EM_SETSEL, EM_REPLACESEL, EM_UNDO, EM_SETTARGETDEVICE, WM_COPY...)
// and sends EN_CHANGE to its parent, so tools can drive it like any edit control.

#include "editor/control/line_widths.h"
#include "editor/control/row_layout.h"
#include "editor/control/text_model.h"
#include "editor/platform/clipboard.h"
#include "editor/win32/handles.h"
#include "editor/win32/text_metrics.h"
#include "editor/win32/text_view_automation.h"
#include "editor/win32/window_base.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

namespace quillet::win32 {

class TextView : public TextControl,
                 private TextModelObserver,
                 private TextControlEvents,
                 private RowCounter,
                 private RowBreaks,
                 private AutomatedText,
                 private WindowBase<TextView> {
public:
    static constexpr wchar_t kClassName[] = L"QuilletText";
    static bool Register(HINSTANCE instance);

    // We don't own the clipboard; the view's own clipboard keys and messages go through it.
    explicit TextView(Clipboard& clipboard);
    ~TextView() override;
    TextView(const TextView&) = delete;
    TextView& operator=(const TextView&) = delete;

    // Creates the window as a child of parent with the given control id.
    bool Create(HWND parent, int id, HINSTANCE instance);
    HWND Handle() const { return hwnd_; }
    TextModel& Model() override { return model_; }
    TextViewAutomation& Automation() { return automation_; }

    // TextControl
    void SetEvents(TextControlEvents* events) override { events_ = events; }
    std::u16string Text() const override { return model_.Text(); }
    void SetText(std::u16string text) override { model_.SetText(std::move(text)); }
    int32_t TextLength() const override { return model_.TextLength(); }
    int32_t SelStart() const override { return model_.SelStart(); }
    void SetSelStart(int32_t start) override { model_.SetSelStart(start); }
    int32_t SelLength() const override { return model_.SelLength(); }
    void SetSelLength(int32_t length) override { model_.SetSelLength(length); }
    std::u16string SelText() const override { return model_.SelText(); }
    void SetSelText(std::u16string_view text) override { model_.SetSelText(text); }
    FontSpec Font() const override { return model_.Font(); }
    void SetFontName(std::u16string_view name) override { model_.SetFontName(name); }
    void SetFontSize(int32_t points) override { model_.SetFontSize(points); }
    void SetFontBold(bool bold) override { model_.SetFontBold(bold); }
    void SetFontItalic(bool italic) override { model_.SetFontItalic(italic); }
    int32_t Find(std::u16string_view text, int32_t start, FindOption option) override {
        return model_.Find(text, start, option);
    }
    int32_t ReplaceAll(std::u16string_view pattern, std::u16string_view replacement,
                       FindOption option) override {
        return model_.ReplaceAll(pattern, replacement, option);
    }
    std::vector<std::u16string_view> Pieces() const override { return model_.Pieces(); }
    bool CanUndo() const override { return model_.CanUndo(); }
    void Undo() override { model_.Undo(); }
    void Move(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void SetWordWrap(bool wrap) override;
    bool SetFocus() override;

    bool WordWrap() const { return wordWrap_; }

    // Display rows of the whole text: exact once the layout is complete, an estimate before.
    int32_t RowCount() const;
    bool LayoutComplete() const;
    // Lays out every line now instead of in idle slices (tests and benchmarks).
    void CompleteLayout();
    int32_t FirstVisibleRow() const;
    int32_t LineHeight() const { return metrics_.LineHeight(); }
    // The caret's client position in pixels.
    POINT CaretPoint();

private:
    // Rich-edit's word-wrap message (richedit.h is not needed for one constant), and a message of
    // newer systems than we build for.
    static constexpr UINT kEmSetTargetDevice = WM_USER + 72;
    static constexpr UINT kWmDpiChangedAfterParent = 0x02E3;
    static constexpr UINT_PTR kLayoutTimer = 1;
    static constexpr UINT_PTR kDragTimer = 2;
    static constexpr UINT_PTR kMeasureTimer = 3;
    static constexpr UINT_PTR kBlinkTimer = 4;
    static constexpr int kSliceMs = 15;        // idle work a timer tick may take
    static constexpr int kLoadMeasureMs = 250; // measuring a new text's long lines may add to its load

    friend class WindowBase<TextView>;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleEditMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    // TextModelObserver
    void OnTextChanged(int32_t position, int32_t removed, int32_t inserted) override;
    void OnSelectionChanged() override;
    void OnFontChanged() override;

    // TextControlEvents: the model's events pass through us on their way to the editor, so
    // that EN_CHANGE follows a finished write.
    void OnChange() override;
    bool OnKeyDown(int32_t keyCode, int32_t shift) override;
    void OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) override;

    // Messages.
    void OnPaint();
    void OnSize();
    LRESULT OnKeyMessage(WPARAM key);
    bool OfferKeyToHandler(int32_t keyCode, int32_t shift);
    void MoveVertically(int32_t keyCode, bool extend, bool ctrl);
    void OnEditingKey(int32_t keyCode, bool ext, bool ctrl);
    LRESULT OnChar(wchar_t ch);
    void OnImeComposition(LPARAM lParam);
    void OnMouseButton(int16_t button, LPARAM lParam);
    void OnLeftDown(LPARAM lParam, bool doubleClick);
    void OnMouseMove(LPARAM lParam);
    void OnWheel(int delta, bool horizontal);
    void OnScroll(int bar, int code);
    void OnTimer(UINT_PTR id);
    LRESULT OnGetText(WPARAM size, LPARAM buffer);
    LRESULT OnGetSel(WPARAM startOut, LPARAM endOut);
    void OnSetSel(WPARAM start, LPARAM end);
    void Copy();
    void Cut();
    void Paste();
    void Clear();

    // RowBreaks and AutomatedText: what screen readers read by.
    int32_t RowStartAt(int32_t position) override;
    int32_t NextRowStart(int32_t position) override;
    int32_t RowsPerPage() override;
    HWND Window() const override { return hwnd_; }
    RowBreaks& Rows() override { return *this; }
    TextSpan VisibleSpan() override;
    std::vector<RECT> SpanRectangles(TextSpan span) override;
    int32_t PositionAtClientPoint(POINT point) override { return PositionAtPoint(point.x, point.y); }
    void ShowPosition(int32_t position) override;
    int XInRow(int32_t line, int32_t rowStart, int32_t position);

    // Fonts and measuring.
    void RebuildFont();
    int Dpi() const;

    // Layout.
    RECT ClientArea() const;
    int WrapWidth() const;
    int ClientRows() const;
    const std::vector<int32_t>& RowStarts(int32_t line);
    int32_t RowsOf(int32_t line);
    int32_t CountRows(int32_t line) override; // RowCounter
    void ResetLayout();
    // One row per line, holding no memory: what the view falls back to when memory runs out.
    void ForgetLayout() noexcept;
    void FollowEdit(int32_t position, int32_t removed, int32_t inserted);
    bool RewrapAfterTyping(int32_t position, int32_t removed, int32_t inserted, int32_t lineDelta);
    void InvalidateRows(int32_t fromRow, int32_t toRow);
    template <class Step> void IfMemoryAllows(Step&& step) noexcept {
        try {
            step();
        } catch (const std::bad_alloc&) {
            ForgetLayout();
        }
    }
    void LayoutSlice(int milliseconds);
    void MeasureLongLinesLater(UINT delayMs);

    // Positions and geometry.
    std::u16string RowText(int32_t line, int32_t sub, int32_t* rowStart, int32_t* rowEnd,
                           int32_t maxChars = -1);
    RowPos PositionRow(int32_t position);
    int XOfPosition(int32_t position);
    int32_t PositionAtX(int32_t line, int32_t sub, int x);
    int32_t PositionAtPoint(int x, int y);
    void UpdateCaret();
    void ShowFocus(bool focused);
    int CaretWidth() const;
    void InvalidateCaretAt(POINT pt);
    void OnBlink();
    void PlaceComposition(POINT caret);
    void ScrollToCaret();
    void ScrollTo(RowPos top, int xOffset);
    void UpdateScrollBars();
    void MoveCaret(int32_t caret, bool extend, bool keepDesiredX = false);
    void SelectWordAt(int32_t pos);
    int16_t ShiftState() const;
    struct ShownRow {
        int32_t begin = 0, end = 0; // where the measured part starts, and the row's end
        std::u16string text;
        std::vector<int> xs; // each character's x, and the x after the last measured one
        std::vector<INT> dx; // each character's advance
        std::wstring glyphs; // what is drawn for each: a space for a tab or a control character
        int32_t count = 0;   // characters measured; the rest are off to the right
    };
    ShownRow MeasureShownRow(int32_t line, int32_t sub, int clientWidth);
    void DrawRow(HDC dc, int y, int32_t line, int32_t sub, int32_t selFrom, int32_t selTo, int clientWidth);

    TextModel model_;
    Clipboard& clipboard_;
    TextControlEvents* events_ = nullptr; // we don't own it
    int id_ = 0;

    TextMetrics metrics_;
    // Rows are drawn off-screen first, into a bitmap kept from paint to paint: declared in this
    // order, the bitmap is deselected, then the DC deleted, then the bitmap.
    GdiBitmap backBitmap_;
    MemoryDc backDc_;
    std::optional<SelectInDc> backSelect_;
    SIZE backSize_{0, 0};
    RECT client_{0, 0, 0, 0};  // from the last WM_SIZE
    POINT caretShown_{-1, -1}; // where SetCaretPos last put the caret
    // The caret is drawn with the rows: under Wine the system's caret redraws itself on every
    // move and around every paint, which cost more than the rest of a keystroke. The system
    // caret is still made and placed, hidden, for magnifiers and accessibility tools to follow.
    bool caretOn_ = false;   // the blink's phase
    DWORD caretMovedAt_ = 0; // a caret that moves stays shown until it rests for a blink
    UINT blinkMs_ = 0;       // 0: it does not blink
    // Screen rows already invalidated since the last paint: a caret inside them needs no call.
    int32_t invalidFrom_ = 0, invalidTo_ = -1;

    RowLayout layout_{*this};
    LineWidths lineWidths_{model_, metrics_}; // where a line is too long to measure whole
    int32_t cachedLine_ = -1;
    int32_t cachedLength_ = 0; // of cachedLine_ when its rows were found
    std::vector<int32_t> cachedStarts_;

    struct ScrollState {
        int vMax = -1, vPage = -1, vPos = -1, hMax = -1, hPage = -1, hPos = -1;
    };
    ScrollState scroll_; // what the scroll bars show now

    struct Selection {
        int32_t from = 0, to = 0;
    };
    Selection shownSelection_; // as the last paint drew it
    RowPos top_{0, 0};
    int xOffset_ = 0;
    int maxWidthSeen_ = 0;
    int desiredX_ = -1;
    bool wordWrap_ = false;
    bool measurePending_ = false; // the long lines on screen are still to be measured
    bool composing_ = false;      // an input method's composition is open
    bool hasFocus_ = false;
    bool dragging_ = false;
    bool swallowChar_ = false;
    bool keySwallowed_ = false; // by the handler, for the last key
    // The key handler may pump messages (Paste does); the character its own key produced can
    // arrive meanwhile and waits here until the handler has said whether the key is swallowed.
    bool inKeyHandler_ = false;
    std::vector<std::pair<UINT, WPARAM>> heldChars_;
    int wheelRest_ = 0;
    POINT lastMouse_{};
    TextViewAutomation automation_{*this};
};

} // namespace quillet::win32
