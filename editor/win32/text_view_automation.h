#pragma once
// The text view as UI Automation sees it: a document whose text a screen reader reads by
// characters, words, rows, lines and pages, with the selection, the visible part, the font and
// a value that can be set. The provider objects hold the view weakly: once the window is gone
// they answer that the element is not available.

#include "editor/control/text_model.h"
#include "editor/control/text_units.h"

#include <windows.h>

#include <memory>
#include <vector>

struct IRawElementProviderSimple;

namespace quillet::win32 {

struct AutomationLink;

// What the provider asks of the view it reads.
class AutomatedText {
public:
    virtual HWND Window() const = 0;
    virtual TextModel& Model() = 0;
    virtual RowBreaks& Rows() = 0;
    virtual TextSpan VisibleSpan() = 0;
    // One rectangle in client coordinates for each visible row the span touches.
    virtual std::vector<RECT> SpanRectangles(TextSpan span) = 0;
    virtual int32_t PositionAtClientPoint(POINT point) = 0;
    virtual void ShowPosition(int32_t position) = 0;

protected:
    ~AutomatedText() = default;
};

class TextViewAutomation {
public:
    explicit TextViewAutomation(AutomatedText& text);
    ~TextViewAutomation();
    TextViewAutomation(const TextViewAutomation&) = delete;
    TextViewAutomation& operator=(const TextViewAutomation&) = delete;

    // WM_GETOBJECT: the provider for UI Automation's request, or 0 for anyone else's.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    // Raised only when someone asked for the provider and a client listens, so that typing
    // costs nothing otherwise.
    void TextChanged();
    void SelectionChanged();
    // WM_DESTROY: the providers handed out answer "not available" from now on.
    void Disconnect();
    // The document's provider, as WM_GETOBJECT hands it out (a new reference; null once
    // disconnected). Tests read it where the system's client functions fall short.
    IRawElementProviderSimple* Root();

private:
    void Raise(int event);

    std::shared_ptr<AutomationLink> link_;
    IRawElementProviderSimple* root_ = nullptr; // our reference, made on the first request
};

} // namespace quillet::win32
