#pragma once
// A text control in memory that logs every call the core makes, so tests can check the order of
// writes (text, font flips, wrap, moves). Change is raised synchronously inside each write, as
// the real control does. Line breaks are stored as given; the document model is the place to
// test their normalisation.

#include "editor/control/text_control.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quillet::fakes {

class FakeTextControl : public TextControl {
public:
    void SetEvents(TextControlEvents* value) override { events = value; }

    std::u16string Text() const override { return text; }
    void SetText(std::u16string value) override {
        text = std::move(value);
        selStart = 0;
        selLength = 0;
        canUndo = false;
        Log(u"Text");
        Changed();
    }
    int32_t TextLength() const override { return int32_t(text.size()); }

    int32_t SelStart() const override { return selStart; }
    void SetSelStart(int32_t start) override {
        selStart = std::clamp(start, 0, TextLength());
        selLength = 0;
    }
    int32_t SelLength() const override { return selLength; }
    void SetSelLength(int32_t length) override { selLength = std::clamp(length, 0, TextLength() - selStart); }
    std::u16string SelText() const override { return text.substr(size_t(selStart), size_t(selLength)); }
    void SetSelText(std::u16string_view value) override {
        text.replace(size_t(selStart), size_t(selLength), value);
        selStart += int32_t(value.size());
        selLength = 0;
        canUndo = true;
        Log(u"SelText");
        Changed();
    }

    FontSpec Font() const override { return font; }
    void SetFontName(std::u16string_view name) override {
        font.name = name;
        Log(u"Font.Name=" + font.name);
        Changed();
    }
    void SetFontSize(int32_t points) override {
        font.size = points;
        Log(u"Font.Size=" + Number(points));
        Changed();
    }
    void SetFontBold(bool bold) override {
        font.bold = bold;
        Log(bold ? u"Font.Bold=1" : u"Font.Bold=0");
        Changed();
    }
    void SetFontItalic(bool italic) override {
        font.italic = italic;
        Log(italic ? u"Font.Italic=1" : u"Font.Italic=0");
        Changed();
    }

    int32_t Find(std::u16string_view pattern, int32_t start, int32_t options) override {
        (void)options; // letter case is the document model's business
        if (start < 0 || start >= TextLength())
            return -1;
        size_t at = text.find(pattern, size_t(start));
        if (at == std::u16string::npos)
            return -1;
        selStart = int32_t(at);
        selLength = int32_t(pattern.size());
        return selStart;
    }
    int32_t SaveFile(std::u16string_view path) override {
        Log(u"SaveFile " + std::u16string(path));
        return saveResult;
    }

    void Move(int32_t left, int32_t top, int32_t width, int32_t height) override {
        bounds = {left, top, width, height};
        Log(u"Move " + Number(width) + u"x" + Number(height));
    }
    void SetWordWrap(bool wrap) override {
        wordWrap = wrap;
        Log(wrap ? u"Wrap=1" : u"Wrap=0");
    }
    bool WordWrap() const override { return wordWrap; }
    bool CanUndo() const override { return canUndo; }
    void Undo() override { Log(u"Undo"); }
    bool SetFocus() override { return true; }

    struct Bounds {
        int32_t left = 0, top = 0, width = 0, height = 0;
    };

    TextControlEvents* events = nullptr;
    std::u16string text;
    int32_t selStart = 0;
    int32_t selLength = 0;
    FontSpec font;
    bool wordWrap = true; // the control starts wrapping at its width
    bool canUndo = false;
    Bounds bounds;
    int32_t saveResult = 0;
    int changes = 0;
    std::vector<std::u16string> log;

private:
    void Log(std::u16string entry) { log.push_back(std::move(entry)); }
    void Changed() {
        ++changes;
        if (events)
            events->OnChange();
    }
    static std::u16string Number(int32_t value) {
        std::string s = std::to_string(value);
        return std::u16string(s.begin(), s.end());
    }
};

} // namespace quillet::fakes
