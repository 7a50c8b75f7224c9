#pragma once
// What the edit command tests share: an editor on fakes, with a small text control that
// records undo requests and, at every Change, what the main window's change handler would do.

#include "editor/core/editor.h"
#include "fakes/fake_clipboard.h"
#include "fakes/fake_font_dialog.h"
#include "fakes/fake_keyboard_layouts.h"
#include "fakes/fake_main_window.h"

#include <algorithm>
#include <string>
#include <vector>

namespace quillet::testing {

class EditTestControl : public TextControl {
public:
    void SetEvents(TextControlEvents* value) override { events = value; }
    std::u16string Text() const override { return text; }
    void SetText(std::u16string value) override {
        text = std::move(value);
        selStart = selLength = 0;
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
        text.replace(selStart, selLength, value);
        selStart += static_cast<int32_t>(value.size());
        selLength = 0;
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
    int32_t Find(std::u16string_view, int32_t, int32_t) override { return -1; }
    int32_t SaveFile(std::u16string_view) override { return kSaveFailed; }
    void Move(int32_t, int32_t, int32_t, int32_t) override {}
    void SetWordWrap(bool) override {}
    bool WordWrap() const override { return true; }
    bool CanUndo() const override { return true; }
    void Undo() override { ++undos; }
    bool SetFocus() override { return true; }

    void Select(int32_t start, int32_t length) {
        SetSelStart(start);
        SetSelLength(length);
    }
    void Changed() {
        if (events)
            events->OnChange();
    }

    TextControlEvents* events = nullptr;
    std::u16string text;
    int32_t selStart = 0;
    int32_t selLength = 0;
    FontSpec font;
    int undos = 0;
};

// The main window's change handler as far as these tests need it: a Change marks the
// document modified unless the program is changing the control itself.
class ChangeTracker : public TextControlEvents {
public:
    explicit ChangeTracker(Editor& editor) : editor_(editor) {}
    void OnChange() override {
        statesSeen.push_back(editor_.doc.EditorState);
        if (editor_.doc.EditorState != kStateChangingControl) {
            editor_.doc.Modified = 1;
            editor_.doc.UndoAllowed = 1;
        }
    }
    void OnKeyDown(int16_t&, int16_t&) override {}
    void OnMouseDown(int16_t, int16_t, int32_t, int32_t) override {}

    std::vector<int32_t> statesSeen; // EditorState at each Change

private:
    Editor& editor_;
};

struct EditFixture {
    EditFixture() {
        editor.ports.rich = &rich;
        editor.ports.window = &window;
        editor.ports.clipboard = &clipboard;
        editor.ports.layouts = &layouts;
        editor.ports.fontDialog = &fontDialog;
        rich.SetEvents(&tracker);
        editor.doc.FontName = u"Courier New";
        editor.doc.FontSize = 12;
    }

    void SetText(std::u16string text) {
        rich.text = std::move(text);
        rich.selStart = rich.selLength = 0;
    }

    Editor editor;
    EditTestControl rich;
    fakes::FakeMainWindow window;
    fakes::FakeClipboard clipboard;
    fakes::FakeKeyboardLayouts layouts{{fakes::kRussian, fakes::kEnglishUs}, 0};
    fakes::FakeFontDialog fontDialog;
    ChangeTracker tracker{editor};
};

} // namespace quillet::testing
