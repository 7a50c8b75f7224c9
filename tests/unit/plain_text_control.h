#pragma once
// A small, plain text control over one string: enough of the contract for the core's tests
// (selection, Find with case folding of Latin and Cyrillic letters, line breaks made CR LF,
// Change inside every write). It counts writes and Changes so tests can see how an operation
// reached the text. Not fast; the document model is the real thing.

#include "editor/control/text_control.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quillet::testing {

class PlainTextControl : public TextControl {
public:
    void SetEvents(TextControlEvents* value) override { events = value; }

    std::u16string Text() const override { return text; }
    void SetText(std::u16string value) override {
        text = Normalise(value);
        selStart = selLength = 0;
        undoSteps = 0;
        ++writes;
        Changed();
    }
    int32_t TextLength() const override { return static_cast<int32_t>(text.size()); }

    int32_t SelStart() const override { return selStart; }
    void SetSelStart(int32_t start) override {
        selStart = std::clamp(start, 0, TextLength());
        selLength = 0;
    }
    int32_t SelLength() const override { return selLength; }
    void SetSelLength(int32_t length) override { selLength = std::clamp(length, 0, TextLength() - selStart); }
    std::u16string SelText() const override { return text.substr(selStart, selLength); }
    void SetSelText(std::u16string_view value) override {
        const std::u16string inserted = Normalise(value);
        text.replace(selStart, selLength, inserted);
        selStart += static_cast<int32_t>(inserted.size());
        selLength = 0;
        ++undoSteps;
        ++writes;
        Changed();
    }

    FontSpec Font() const override { return font; }
    void SetFontName(std::u16string_view name) override {
        font.name = name;
        Changed();
    }
    void SetFontSize(int32_t points) override {
        font.size = points;
        Changed();
    }
    void SetFontBold(bool bold) override {
        font.bold = bold;
        Changed();
    }
    void SetFontItalic(bool italic) override {
        font.italic = italic;
        Changed();
    }

    int32_t Find(std::u16string_view pattern, int32_t start, int32_t options) override {
        ++finds;
        findStarts.push_back(start);
        findOptions.push_back(options);
        if (start < 0 || start > TextLength() || pattern.empty())
            return -1;
        const bool matchCase = (options & kFindMatchCase) != 0;
        auto same = [matchCase](char16_t a, char16_t b) { return matchCase ? a == b : Fold(a) == Fold(b); };
        auto it = std::search(text.begin() + start, text.end(), pattern.begin(), pattern.end(), same);
        if (it == text.end())
            return -1;
        selStart = static_cast<int32_t>(it - text.begin());
        selLength = static_cast<int32_t>(pattern.size());
        return selStart;
    }

    int32_t SaveFile(std::u16string_view) override { return kSaveFailed; }
    void Move(int32_t, int32_t, int32_t, int32_t) override {}
    void SetWordWrap(bool wrap) override { wordWrap = wrap; }
    bool WordWrap() const override { return wordWrap; }
    bool CanUndo() const override { return undoSteps > 0; }
    void Undo() override {}
    bool SetFocus() override {
        ++focusRequests;
        return focusSucceeds;
    }

    static char16_t Fold(char16_t c) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'А' && c <= u'Я'))
            return static_cast<char16_t>(c + 32);
        if (c >= u'Ѐ' && c <= u'Џ')
            return static_cast<char16_t>(c + 80);
        return c;
    }

    static std::u16string Normalise(std::u16string_view value) {
        std::u16string out;
        for (size_t i = 0; i < value.size(); ++i) {
            if (value[i] == u'\r' || value[i] == u'\n') {
                out += u"\r\n";
                if (value[i] == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
                    ++i;
            } else {
                out += value[i];
            }
        }
        return out;
    }

    void Changed() {
        ++changes;
        if (events)
            events->OnChange();
    }

    TextControlEvents* events = nullptr;
    std::u16string text;
    int32_t selStart = 0;
    int32_t selLength = 0;
    FontSpec font;
    bool wordWrap = true;
    bool focusSucceeds = true;
    int undoSteps = 0;
    int writes = 0;
    int changes = 0;
    int finds = 0;
    int focusRequests = 0;
    std::vector<int32_t> findStarts;
    std::vector<int32_t> findOptions;
};

} // namespace quillet::testing
