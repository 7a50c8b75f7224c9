#pragma once
// A plain in-memory text control for handler tests that need no real document model: it keeps
// the text, raises Change on every write and saves through the file system and codec in pieces.

#include "editor/control/text_control.h"
#include "editor/platform/file_system.h"

#include <string>

namespace quillet::fakes {

class FakeTextControl : public TextControl {
public:
    FakeTextControl(FileSystem& files, const AnsiCodec& codec) : files_(files), codec_(codec) {}

    void SetEvents(TextControlEvents* value) override { events = value; }
    std::u16string Text() const override { return text; }
    void SetText(std::u16string value) override {
        text = std::move(value);
        selStart = selLength = 0;
        Changed();
    }
    int32_t TextLength() const override { return int32_t(text.size()); }
    int32_t SelStart() const override { return selStart; }
    void SetSelStart(int32_t value) override {
        selStart = value;
        selLength = 0;
    }
    int32_t SelLength() const override { return selLength; }
    void SetSelLength(int32_t value) override { selLength = value; }
    std::u16string SelText() const override { return text.substr(size_t(selStart), size_t(selLength)); }
    void SetSelText(std::u16string_view value) override {
        text.replace(size_t(selStart), size_t(selLength), value);
        selStart += int32_t(value.size());
        selLength = 0;
        Changed();
    }
    FontSpec Font() const override { return font; }
    void SetFontName(std::u16string_view value) override {
        font.name = value;
        Changed();
    }
    void SetFontSize(int32_t value) override {
        font.size = value;
        Changed();
    }
    void SetFontBold(bool value) override {
        font.bold = value;
        Changed();
    }
    void SetFontItalic(bool value) override {
        font.italic = value;
        Changed();
    }
    int32_t Find(std::u16string_view, int32_t, int32_t) override { return -1; }

    int32_t SaveFile(std::u16string_view path) override {
        ++saves;
        Pieces source(*this);
        return files_.WriteWhole(path, source);
    }

    void Move(int32_t, int32_t, int32_t, int32_t) override {}
    void SetWordWrap(bool value) override { wrap = value; }
    bool WordWrap() const override { return wrap; }
    bool CanUndo() const override { return false; }
    void Undo() override {}
    bool SetFocus() override { return true; }

    std::u16string text;
    int32_t selStart = 0;
    int32_t selLength = 0;
    FontSpec font;
    bool wrap = true;
    int saves = 0;
    int changes = 0;
    TextControlEvents* events = nullptr;

private:
    // Encodes a few characters at a time, as a large document must be.
    class Pieces : public ByteSource {
    public:
        explicit Pieces(const FakeTextControl& control) : control_(control) {}
        std::string_view Next() override {
            piece_.clear();
            if (at_ < control_.text.size()) {
                std::u16string_view rest(control_.text);
                control_.codec_.Encode(rest.substr(at_, 7), piece_);
                at_ += 7;
            }
            return piece_;
        }

    private:
        const FakeTextControl& control_;
        size_t at_ = 0;
        std::string piece_;
    };

    void Changed() {
        ++changes;
        if (events)
            events->OnChange();
    }

    FileSystem& files_;
    const AnsiCodec& codec_;
};

} // namespace quillet::fakes
