#pragma once
// The document model as a text control that also keeps where it was moved, its word wrap, the
// undo and focus requests and the Changes raised. Everything else is the model's own behaviour.

#include "editor/control/text_model.h"

#include <string>
#include <vector>

namespace quillet::fakes {

class RecordingTextControl : public TextControl, private TextControlEvents {
public:
    RecordingTextControl() { model.SetEvents(this); }

    void SetEvents(TextControlEvents* value) override { events_ = value; }

    std::u16string Text() const override { return model.Text(); }
    void SetText(std::u16string value) override { model.SetText(std::move(value)); }
    int32_t TextLength() const override { return model.TextLength(); }
    int32_t SelStart() const override { return model.SelStart(); }
    void SetSelStart(int32_t start) override { model.SetSelStart(start); }
    int32_t SelLength() const override { return model.SelLength(); }
    void SetSelLength(int32_t length) override { model.SetSelLength(length); }
    std::u16string SelText() const override { return model.SelText(); }
    void SetSelText(std::u16string_view value) override { model.SetSelText(value); }

    FontSpec Font() const override { return model.Font(); }
    void SetFontName(std::u16string_view name) override { model.SetFontName(name); }
    void SetFontSize(int32_t points) override { model.SetFontSize(points); }
    void SetFontBold(bool bold) override { model.SetFontBold(bold); }
    void SetFontItalic(bool italic) override { model.SetFontItalic(italic); }

    int32_t Find(std::u16string_view pattern, int32_t start, FindOption option) override {
        return model.Find(pattern, start, option);
    }
    int32_t ReplaceAll(std::u16string_view pattern, std::u16string_view replacement,
                       FindOption option) override {
        return model.ReplaceAll(pattern, replacement, option);
    }
    std::vector<std::u16string_view> Pieces() const override { return model.Pieces(); }

    void Move(int32_t left, int32_t top, int32_t width, int32_t height) override {
        bounds = {left, top, width, height};
    }
    void SetWordWrap(bool wrap) override { wordWrap = wrap; }
    bool CanUndo() const override { return model.CanUndo(); }
    void Undo() override {
        ++undos;
        model.Undo();
    }
    bool SetFocus() override {
        ++focusRequests;
        return focusSucceeds;
    }

    // Test set-up: text, selection or font as a document arrives, without telling the listener.
    void Load(std::u16string text) {
        Quietly([&] { model.SetText(std::move(text)); });
    }
    void SetFont(const FontSpec& font) {
        Quietly([&] {
            model.SetFontName(font.name);
            model.SetFontSize(font.size);
            model.SetFontBold(font.bold);
            model.SetFontItalic(font.italic);
        });
    }
    void Select(int32_t start, int32_t length) { model.SetSelection(start, start + length); }

    TextModel model;
    struct Bounds {
        int32_t left = 0, top = 0, width = 0, height = 0;
    } bounds; // where the control was last moved, twips
    bool wordWrap = false;
    int changes = 0;
    int undos = 0;
    int focusRequests = 0;
    bool focusSucceeds = true;

private:
    void OnChange() override {
        ++changes;
        if (events_)
            events_->OnChange();
    }
    bool OnKeyDown(int32_t keyCode, int32_t shift) override {
        return events_ && events_->OnKeyDown(keyCode, shift);
    }
    void OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) override {
        if (events_)
            events_->OnMouseDown(button, shift, x, y);
    }
    template <class Fn> void Quietly(Fn fn) {
        TextControlEvents* listener = events_;
        const int before = changes;
        events_ = nullptr;
        fn();
        events_ = listener;
        changes = before;
    }

    TextControlEvents* events_ = nullptr;
};

} // namespace quillet::fakes
