#pragma once
// The main window frmForma: its event handlers, the caption rule and how a path becomes the
// current document.

#include "editor/core/edit_guard.h"
#include "editor/core/editor.h"
#include "editor/edit/edit_menu.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// The client area the window is created with.
inline constexpr int32_t kInitialClientWidth = 7230; // twips
inline constexpr int32_t kInitialClientHeight = 5010;

// "Квиллет" while untitled, else DisplayName + " - Квиллет".
std::u16string CaptionFor(const DocumentState& doc);

// A path as the current document's name: CurrentFilePath, and DialogFolder and DisplayName split
// at the last PathSeparator. Built before a load or save changes anything, since building it
// takes memory and using it must not fail half-way.
struct DocumentName {
    std::u16string path;
    std::u16string folder;
    std::u16string displayName;
};
DocumentName NameFor(const DocumentState& doc, std::u16string_view path);

// Makes the name the current document's, then shows it in the caption. Modified and UndoAllowed
// are the caller's.
void UseDocumentName(Editor& ed, DocumentName&& name) noexcept;

// Shows the caption; a caption that cannot be built for want of memory stays as it was, which
// loses nothing.
void ShowCaption(Editor& ed, std::u16string_view caption) noexcept;

// After every change of the window's size or state: the text control fills the client area,
// and the normal size is remembered for the next run.
void frmForma_Form_Resize(Editor& ed);

// Asked to close: a modified document is offered for saving first; Cancel = 1 keeps the window
// open and writes nothing. Otherwise the settings are written and the window may close.
void frmForma_Form_Unload(Editor& ed, int16_t& Cancel);

// Every change of the control's text or font, typed or written.
void frmForma_Rich_Change(Editor& ed);

void frmForma_mnuExit_Click(Editor& ed);

// Word wrap on or off, flipping the check mark that is its only record.
void frmForma_mFormatPerenosSlov_Click(Editor& ed);

// Routes the text control's events to the main window's handlers; the key and mouse rules are
// the edit commands'.
class RichEvents : public TextControlEvents {
public:
    explicit RichEvents(Editor& ed) : ed_(ed) {}
    void OnChange() override { frmForma_Rich_Change(ed_); }
    void OnKeyDown(int16_t& keyCode, int16_t& shift) override {
        // Ctrl+V and the like edit the document from here.
        if (keyDown)
            RunGuarded(ed_, [&] { keyDown(ed_, keyCode, shift); });
    }
    void OnMouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) override {
        if (mouseDown)
            RunGuarded(ed_, [&] { mouseDown(ed_, button, shift, x, y); });
    }

    void (*keyDown)(Editor&, int16_t& keyCode, int16_t& shift) = frmForma_Rich_KeyDown;
    void (*mouseDown)(Editor&, int16_t button, int16_t shift, int32_t x, int32_t y) = frmForma_Rich_MouseDown;

private:
    Editor& ed_;
};

} // namespace quillet
