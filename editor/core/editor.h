#pragma once
// Everything a command handler works on: the shared state, the text control and the ports.
// The Win32 shell fills it with adapters, the tests with fakes.

#include "editor/control/text_control.h"
#include "editor/core/document_state.h"
#include "editor/find/search_state.h"
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
    TextControl* rich = nullptr;
    MainWindow* window = nullptr;
    MessageBoxes* messages = nullptr;
    SettingsStore* settings = nullptr;
    FileSystem* files = nullptr;
    AnsiCodec* codec = nullptr;
    KeyboardLayouts* layouts = nullptr;
    Clipboard* clipboard = nullptr;
    FileDialogs* fileDialogs = nullptr;
    Shell* shell = nullptr;
    AboutBox* about = nullptr;
    FindDialog* findDialog = nullptr;
    FontDialog* fontDialog = nullptr;
};

struct Editor {
    DocumentState doc;
    SearchState search;
    Ports ports;

    TextControl& Rich() { return *ports.rich; }
    MainWindow& Window() { return *ports.window; }
};

} // namespace quillet
