#pragma once
// The document model behind every text control: UTF-16 storage for documents of hundreds of
// megabytes, the line index, the selection, the undo store and the font. On its own it is the
// in-memory text control the core's tests use; the Win32 view draws it and feeds it keys.

#include "editor/control/text_control.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quillet {

// What the view needs to hear besides the core's events: where the text changed.
class TextModelObserver {
public:
    virtual ~TextModelObserver() = default;
    virtual void OnTextChanged(int32_t position, int32_t removed, int32_t inserted) = 0;
    virtual void OnSelectionChanged() = 0;
    virtual void OnFontChanged() = 0;
};

// How an edit joins the undo store.
enum class EditKind {
    Program, // one write by the program: one undo step
    Typing,  // typed characters: consecutive ones join one undo step
};

class TextModel : public TextContent {
public:
    TextModel();
    ~TextModel() override;
    TextModel(const TextModel&) = delete;
    TextModel& operator=(const TextModel&) = delete;

    // TextContent
    void SetEvents(TextControlEvents* events) override;
    std::u16string Text() const override;
    void SetText(std::u16string text) override;
    int32_t TextLength() const override;
    int32_t SelStart() const override;
    void SetSelStart(int32_t start) override;
    int32_t SelLength() const override;
    void SetSelLength(int32_t length) override;
    std::u16string SelText() const override;
    void SetSelText(std::u16string_view text) override;
    FontSpec Font() const override;
    void SetFontName(std::u16string_view name) override;
    void SetFontSize(int32_t points) override;
    void SetFontBold(bool bold) override;
    void SetFontItalic(bool italic) override;
    int32_t Find(std::u16string_view text, int32_t start, FindOption option) override;
    // One pass and one edit: one undo step and one Change however many matches.
    int32_t ReplaceAll(std::u16string_view pattern, std::u16string_view replacement,
                       FindOption option) override;
    // The text before and after the gap.
    std::vector<std::u16string_view> Pieces() const override;
    bool CanUndo() const override;
    void Undo() override;

    // For the view.
    // The first match at or after start, as Find finds it, without selecting it; -1 if none.
    int32_t Search(std::u16string_view text, int32_t start, FindOption option) const;
    TextControlEvents* Events() const;
    void SetObserver(TextModelObserver* observer); // we don't own it
    int32_t LineCount() const;                     // at least 1
    int32_t LineStart(int32_t line) const;
    int32_t LineEnd(int32_t line) const; // before the line's CR LF, or the text's end
    int32_t LineFromPosition(int32_t position) const;
    char16_t CharAt(int32_t position) const;
    std::u16string Range(int32_t start, int32_t end) const;
    // The selection with its direction: the anchor stays, the caret moves with Shift+arrows.
    int32_t Anchor() const;
    int32_t Caret() const;
    void SetSelection(int32_t anchor, int32_t caret);
    // Replaces the selection as typing or as one program write, caret after the new text.
    void ReplaceSelection(std::u16string_view text, EditKind kind);
    // Replaces [start, end) (a CR LF pair is never split) the same way, caret after the new text.
    // Backspace and Delete use it, so they stay in the typing run.
    void ReplaceRange(int32_t start, int32_t end, std::u16string_view text, EditKind kind);
    // Ends the current typing run, so the next typed text starts a new undo step.
    void BreakUndoRun();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace quillet
