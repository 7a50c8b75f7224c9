#pragma once
// Everything a command handler works on: the shared state, the text control and the ports.
// The Win32 shell wires it to adapters, the tests to fakes.

#include "editor/control/text_control.h"
#include "editor/document/document_state.h"
#include "editor/document/search_state.h"
#include "editor/platform/about_window.h"
#include "editor/platform/ansi_codec.h"
#include "editor/platform/clipboard.h"
#include "editor/platform/file_dialogs.h"
#include "editor/platform/file_system.h"
#include "editor/platform/find_dialog.h"
#include "editor/platform/font_dialog.h"
#include "editor/platform/keyboard_layouts.h"
#include "editor/platform/main_window.h"
#include "editor/platform/message_boxes.h"
#include "editor/platform/settings_store.h"
#include "editor/platform/shell.h"

namespace quillet {

// We don't own any of these; whoever builds the Editor keeps them alive for its life.
struct Ports {
    TextControl& text;
    MainWindow& window;
    MessageBoxes& messages;
    SettingsStore& settings;
    FileSystem& files;
    AnsiCodec& codec;
    KeyboardLayouts& layouts;
    Clipboard& clipboard;
    FileDialogs& fileDialogs;
    Shell& shell;
    AboutBox& about;
    FindDialog& findDialog;
    FontDialog& fontDialog;
};

struct Editor {
    explicit Editor(const Ports& wired) : ports(wired) {}
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    DocumentState doc;
    SearchState search;
    Ports ports;

    TextControl& Text() { return ports.text; }
    MainWindow& Window() { return ports.window; }
};

} // namespace quillet
