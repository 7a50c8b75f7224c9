#pragma once
// The text control as the rest of the editor sees it: plain text, a selection and one font for
// the whole text. Positions and lengths count UTF-16 code units, 0-based, and a line break is
// always the two characters CR LF. Every write of text or font raises Change before it returns.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

struct FontSpec {
    std::u16string name;
    int32_t size = 12; // points
    bool bold = false;
    bool italic = false;
};

// Bits of the shift state passed with key and mouse events.
enum ShiftState : int16_t { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Mouse buttons passed with MouseDown.
enum MouseButton : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

enum class FindOption { IgnoreCase, MatchCase };

// Spare room a text handed to SetText should have beyond its length, so the control can take the
// string over without copying it and the first keystrokes do not have to grow it.
size_t SpareRoomFor(size_t length);

class TextControlEvents {
public:
    virtual ~TextControlEvents() = default;
    // After every change of the text or the font, synchronously inside the write.
    virtual void OnChange() = 0;
    // Before the control handles the key; true takes it from the control, character and all.
    virtual bool OnKeyDown(int32_t keyCode, int32_t shift) = 0;
    // Coordinates in twips from the control's top-left corner.
    virtual void OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) = 0;
};

// The document's text and what is done to it: what the document model is, and what the control
// on the screen shows.
class TextContent {
public:
    virtual ~TextContent() = default;

    virtual void SetEvents(TextControlEvents* events) = 0; // we don't own it; null to detach

    virtual std::u16string Text() const = 0;
    // Replaces the whole text, caret to 0, undo store emptied. Line breaks become CR LF.
    virtual void SetText(std::u16string text) = 0;
    virtual int32_t TextLength() const = 0;

    virtual int32_t SelStart() const = 0;
    virtual void SetSelStart(int32_t start) = 0; // clears the selection
    virtual int32_t SelLength() const = 0;
    virtual void SetSelLength(int32_t length) = 0;
    virtual std::u16string SelText() const = 0;
    virtual void SetSelText(std::u16string_view text) = 0; // caret after the inserted text

    virtual FontSpec Font() const = 0;
    virtual void SetFontName(std::u16string_view name) = 0;
    virtual void SetFontSize(int32_t points) = 0;
    virtual void SetFontBold(bool bold) = 0;
    virtual void SetFontItalic(bool italic) = 0;

    // First occurrence at or after start, selected; -1 and the selection untouched otherwise.
    virtual int32_t Find(std::u16string_view text, int32_t start, FindOption option) = 0;

    // Replaces every occurrence of pattern from the top, each search resuming just after the text
    // inserted for the previous match (so matches never overlap and inserted text is never searched
    // again), and returns the count. The caret ends just after the last inserted text; with no match
    // nothing changes at all. This loop is what every control must match; the document model
    // overrides it to build the new text in one pass and apply it as one edit, one undo step and
    // one Change, since a write per match crawls on large documents.
    virtual int32_t ReplaceAll(std::u16string_view pattern, std::u16string_view replacement,
                               FindOption option) {
        if (pattern.empty())
            return 0;
        int32_t count = 0;
        int32_t position = 0;
        while ((position = Find(pattern, position, option)) != -1) {
            SetSelText(replacement);
            ++count;
            // The caret, not the replacement's own length: line breaks in it may have been
            // normalised to CR LF on the way in.
            position = SelStart();
        }
        return count;
    }

    // The whole text in order as a few pieces, without copying it, for saving; valid until the
    // text next changes. A surrogate pair may straddle two pieces.
    virtual std::vector<std::u16string_view> Pieces() const = 0;

    virtual bool CanUndo() const = 0;
    virtual void Undo() = 0;
};

// The content on the screen: it fills a part of the main window and wraps or scrolls sideways.
class TextControl : public TextContent {
public:
    virtual void Move(int32_t left, int32_t top, int32_t width, int32_t height) = 0; // twips
    virtual void SetWordWrap(bool wrap) = 0; // wrap at the control's width, or scroll sideways
    virtual bool SetFocus() = 0;             // callers ignore a failure
};

} // namespace quillet
