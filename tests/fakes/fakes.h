#pragma once
// The fakes of every port, in memory, and an Editor wired to all of them.

#include "editor/app/main_window_events.h"
#include "editor/control/text_model.h"
#include "editor/document/editor.h"
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

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace quillet::fakes {

// Windows-1251, the ANSI code page of the Russian systems the editor is made for. Byte 0x98 has
// no letter and maps to U+0098, as the system's conversion does, so every byte survives a round
// trip.
inline constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

class Cp1251Codec : public AnsiCodec {
public:
    void Decode(std::string_view bytes, std::u16string& out) const override {
        for (char c : bytes) {
            auto b = static_cast<uint8_t>(c);
            out.push_back(b < 0x80 ? char16_t(b) : kCp1251High[b - 0x80]);
        }
    }
    std::u16string Decode(std::string_view bytes) const {
        std::u16string text;
        Decode(bytes, text);
        return text;
    }

    bool Encode(std::u16string_view text, std::string& out) const override {
        bool exact = true;
        out.reserve(out.size() + text.size());
        for (char16_t c : text) {
            int byte = ToByte(c);
            if (byte < 0) {
                exact = false;
                byte = '?';
            }
            out.push_back(static_cast<char>(byte));
        }
        return exact;
    }

    static int ToByte(char16_t c) {
        if (c < 0x80)
            return c;
        // The reverse of the table, built once: large documents encode in one pass.
        static const std::vector<int16_t> reverse = [] {
            std::vector<int16_t> r(0x10000, -1);
            for (size_t i = 0; i < kCp1251High.size(); ++i)
                r[kCp1251High[i]] = int16_t(0x80 + i);
            return r;
        }();
        return reverse[c];
    }
};

// An in-memory file system: files by path, folders, read-only files and scripted failures.
class FakeFileSystem : public FileSystem {
public:
    ReadResult ReadWhole(std::u16string_view path) override {
        std::u16string key(path);
        ++reads;
        if (refused.count(key) || folders.count(key))
            return {ReadStatus::CannotOpen, {}};
        if (unreadable.count(key))
            return {ReadStatus::ReadFailed, {}};
        if (tooLarge.count(key))
            return {ReadStatus::TooLarge, {}};
        auto it = files.find(key);
        if (it == files.end())
            return {ReadStatus::NotFound, {}};
        return {ReadStatus::Ok, it->second};
    }

    WriteStatus WriteWhole(std::u16string_view path, ByteSource& source) override {
        std::u16string key(path);
        ++writes;
        if (readOnly.count(key) || folders.count(key) || readOnlyFolder)
            return WriteStatus::WriteProtected;
        std::string content;
        for (auto piece = source.Next(); !piece.empty(); piece = source.Next())
            content.append(piece);
        if (failWrites)
            return WriteStatus::Failed; // the old content stays, as a safe replace leaves it
        files[key] = std::move(content);
        return WriteStatus::Ok;
    }

    // Relative paths are taken from currentFolder.
    std::u16string FullPath(std::u16string_view path) override {
        bool absolute =
            (path.size() >= 2 && path[1] == u':') || (!path.empty() && (path[0] == u'\\' || path[0] == u'/'));
        return absolute ? std::u16string(path) : currentFolder + std::u16string(path);
    }

    bool Exists(std::u16string_view path) override {
        std::u16string key(path);
        return files.count(key) != 0 && !folders.count(key);
    }

    std::map<std::u16string, std::string> files;
    std::set<std::u16string> folders;
    std::set<std::u16string> readOnly;
    std::set<std::u16string> refused;    // exists but cannot be opened
    std::set<std::u16string> unreadable; // opens but fails part-way
    std::set<std::u16string> tooLarge;
    std::u16string currentFolder = u"C:\\Users\\user\\";
    bool readOnlyFolder = false;
    bool failWrites = false; // every write fails for a reason other than protection
    int reads = 0;
    int writes = 0;
};

// An in-memory settings store that also keeps the order of writes.
class FakeSettingsStore : public SettingsStore {
public:
    using Key = std::tuple<std::u16string, std::u16string, std::u16string>;

    std::u16string Read(std::u16string_view app, std::u16string_view section,
                        std::u16string_view key) override {
        auto it = values.find(Key(app, section, key));
        return it == values.end() ? std::u16string() : it->second;
    }
    void Write(std::u16string_view app, std::u16string_view section, std::u16string_view key,
               std::u16string_view value) override {
        writes.emplace_back(key);
        values[Key(app, section, key)] = std::u16string(value);
    }

    // Shorthand for the editor's own section.
    void Set(std::u16string_view key, std::u16string_view value) {
        values[Key(u"Quillet", u"INI", key)] = value;
    }
    std::u16string Get(std::u16string_view key) const {
        auto it = values.find(Key(u"Quillet", u"INI", key));
        return it == values.end() ? std::u16string() : it->second;
    }
    bool Has(std::u16string_view key) const { return values.count(Key(u"Quillet", u"INI", key)) != 0; }

    std::map<Key, std::u16string> values;
    std::vector<std::u16string> writes; // keys in the order written
};

// Records every message box and answers from a script; with no scripted answer left it answers
// the preselected button, as pressing Enter would.
struct ShownMessage {
    std::u16string text;
    std::u16string title;
    MessageStyle style;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    MessageAnswer Show(std::u16string_view text, std::u16string_view title, MessageStyle style) override {
        shown.push_back({std::u16string(text), std::u16string(title), style});
        if (onShow)
            onShow();
        if (answers.empty())
            return style.defaultAnswer;
        MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Each message as the user sees it: its text, then " [!]" for an error, " [?]" for a question
    // (Yes and No, No preselected), " [save?]" for the save question (Yes, No and Cancel, Yes
    // preselected), nothing for information (Ok alone), " [style]" for anything else and
    // " [title]" when not titled with the program's name.
    std::vector<std::u16string> Seen() const {
        std::vector<std::u16string> seen;
        for (const auto& m : shown) {
            const MessageStyle& s = m.style;
            const bool ok = s.buttons == MessageButtons::Ok && s.defaultAnswer == MessageAnswer::Ok;
            const bool question = s.icon == MessageIcon::Warning && s.buttons == MessageButtons::YesNo &&
                                  s.defaultAnswer == MessageAnswer::No;
            const bool save = s.icon == MessageIcon::Warning && s.buttons == MessageButtons::YesNoCancel &&
                              s.defaultAnswer == MessageAnswer::Yes;
            seen.push_back(m.text + (m.title != u"Квиллет"                      ? u" [title]"
                                     : ok && s.icon == MessageIcon::Information ? u""
                                     : ok && s.icon == MessageIcon::Error       ? u" [!]"
                                     : question                                 ? u" [?]"
                                     : save                                     ? u" [save?]"
                                                                                : u" [style]"));
        }
        return seen;
    }

    std::deque<MessageAnswer> answers;
    std::vector<ShownMessage> shown;
    std::function<void()> onShow; // lets a test see the world while the box is up
};

// Scripted file dialogs: each pick takes the next answer, a chosen path or a cancel, and keeps
// what it was asked. With no answer left it cancels.
struct FileDialogRequest {
    FileDialogKind kind;
    std::u16string name;
    std::u16string folder;
};

class FakeFileDialogs : public FileDialogs {
public:
    PickedFile PickFile(FileDialogKind kind, std::u16string_view name, std::u16string_view folder) override {
        shown.push_back({kind, std::u16string(name), std::u16string(folder)});
        if (onShow)
            onShow();
        if (answers.empty() || !answers.front()) {
            if (!answers.empty())
                answers.pop_front();
            return {FileDialogResult::Cancelled, {}};
        }
        std::u16string answer = std::move(*answers.front());
        answers.pop_front();
        // As the system does: a path that does not fit the dialog's buffer fails it.
        if (answer.size() > kMaxPickedPath)
            return {FileDialogResult::NameTooLong, {}};
        return {FileDialogResult::Accepted, std::move(answer)};
    }

    void Choose(std::u16string path) { answers.emplace_back(std::move(path)); }
    void Cancel() { answers.emplace_back(std::nullopt); }

    std::deque<std::optional<std::u16string>> answers;
    std::vector<FileDialogRequest> shown;
    std::function<void()> onShow; // lets a test see the world while the dialog is up
};

// A ring of loaded layouts, as the system keeps them per thread.
struct FakeLayout {
    std::string name; // "00000419"
    uint32_t handle;  // 0x04190419
};

inline const FakeLayout kEnglishUs{"00000409", 0x04090409u};
inline const FakeLayout kRussian{"00000419", 0x04190419u};
inline const FakeLayout kUkrainian{"00000422", 0x04220422u};

class FakeKeyboardLayouts : public KeyboardLayouts {
public:
    FakeKeyboardLayouts() = default;
    FakeKeyboardLayouts(std::vector<FakeLayout> ring, size_t activeIndex)
        : layouts(std::move(ring)), active(activeIndex) {}

    std::string ActiveLayoutName() override { return layouts.empty() ? std::string() : layouts[active].name; }
    uint32_t ActivateNext() override {
        ++switches;
        if (failActivate || layouts.empty())
            return 0;
        uint32_t before = layouts[active].handle;
        active = (active + 1) % layouts.size();
        return before;
    }

    bool Activate(uint32_t handle) override {
        ++switches;
        for (size_t i = 0; i < layouts.size(); ++i)
            if (layouts[i].handle == handle && !failActivate) {
                active = i;
                return true;
            }
        return false;
    }

    std::vector<FakeLayout> layouts;
    size_t active = 0;
    bool failActivate = false;
    int switches = 0;
};

class FakeClipboard : public Clipboard {
public:
    bool SetText(std::u16string_view value) override {
        ++writes;
        if (unavailable)
            return false;
        text = std::u16string(value);
        if (onSet)
            onSet();
        return true;
    }
    std::optional<std::u16string> Text() override {
        if (unavailable)
            return std::nullopt;
        return text.value_or(std::u16string());
    }

    std::optional<std::u16string> text;
    int writes = 0;
    bool unavailable = false;    // another program holds the clipboard open
    std::function<void()> onSet; // lets a test see the world at the moment of writing
};

// Records every request to open a file or address; a hook lets a test look at the world at the
// moment of the call (the page on disk, the pointer).
struct ShellOpen {
    std::u16string file;
    std::u16string workingFolder;
};

class FakeShell : public Shell {
public:
    void Open(std::u16string_view file, std::u16string_view workingFolder) override {
        opened.push_back({std::u16string(file), std::u16string(workingFolder)});
        if (onOpen)
            onOpen();
    }

    std::vector<ShellOpen> opened;
    std::function<void()> onOpen;
};

// The About window in memory: showing it runs whatever the test scripts as the user's actions
// while it is open; the pointers set and the closes are recorded.
class FakeAboutWindow : public AboutWindow {
public:
    void SetPointer(Pointer value) override { pointers.push_back(value); }
    void Close() override {
        open = false;
        ++closes;
    }

    bool open = false;
    int closes = 0;
    std::vector<Pointer> pointers;
};

class FakeAboutBox : public AboutBox {
public:
    void ShowModal() override {
        window = FakeAboutWindow();
        window.open = true;
        if (whileOpen)
            whileOpen(window);
    }

    FakeAboutWindow window;
    std::function<void(FakeAboutWindow&)> whileOpen;
};

// The find dialog in memory: showing it records the layout.
class FakeFindDialog : public FindDialog {
public:
    void ShowModal(FindLayout layout) override { layouts.push_back(layout); }
    std::vector<FindLayout> layouts; // each time the dialog opened
};

// The font dialog with a scripted answer; it records the font it was started from.
class FakeFontDialog : public FontDialog {
public:
    std::optional<FontSpec> PickFont(const FontSpec& current) override {
        shownFont = current;
        return answer;
    }

    std::optional<FontSpec> answer; // nothing: the user cancels
    std::optional<FontSpec> shownFont;
};

// The main window in memory: caption, menu, size and state; the test wires the callbacks the
// real window would raise (resize, close request).
class FakeMainWindow : public MainWindow {
public:
    // The frame around the client area: borders, caption and menu bar, in twips.
    static constexpr int32_t kFrameWidth = 120;
    static constexpr int32_t kFrameHeight = 900;

    void SetCaption(std::u16string_view value) override { caption = value; }

    void SetMenuCaption(MenuItem item, std::u16string_view value) override { menu[item].caption = value; }
    void SetMenuChecked(MenuItem item, bool value) override { menu[item].checked = value; }
    void SetMenuEnabled(MenuItem item, bool value) override { menu[item].enabled = value; }
    std::u16string MenuCaption(MenuItem item) { return menu[item].caption; }
    bool MenuChecked(MenuItem item) { return menu[item].checked; }
    bool MenuEnabled(MenuItem item) { return menu[item].enabled; }

    void Show() override {
        visible = true;
        ++shows;
        Resized();
    }
    WindowState State() const override { return state; }
    void Maximize() override {
        state = WindowState::Maximized;
        Resized();
    }
    int32_t OuterWidth() const override { return state == WindowState::Maximized ? workWidth : width; }
    int32_t OuterHeight() const override { return state == WindowState::Maximized ? workHeight : height; }
    void SetOuterWidth(int32_t twips) override {
        width = twips;
        Resized();
    }
    void SetOuterHeight(int32_t twips) override {
        height = twips;
        Resized();
    }
    int32_t ClientWidth() const override { return OuterWidth() - kFrameWidth; }
    int32_t ClientHeight() const override { return OuterHeight() - kFrameHeight; }
    int32_t WorkAreaWidth() const override { return workWidth; }
    int32_t WorkAreaHeight() const override { return workHeight; }

    void RequestClose() override {
        ++closeRequests;
        if (onCloseRequested)
            onCloseRequested();
    }
    void PopupEditMenu() override { ++editMenuPopups; }
    void PumpMessages() override { ++pumps; }
    void SetPointer(Pointer value) override { pointers.push_back(value); }

    void Resized() {
        if (onResize)
            onResize();
    }

    std::u16string caption;
    struct MenuState {
        std::u16string caption;
        bool checked = false, enabled = true;
    };
    std::map<MenuItem, MenuState> menu;
    bool visible = false;
    int shows = 0;
    WindowState state = WindowState::Normal;
    int32_t width = 7230 + kFrameWidth;
    int32_t height = 5010 + kFrameHeight;
    int32_t workWidth = 19200; // 1280 x 1024 pixels at 96 dpi, less a taskbar
    int32_t workHeight = 14760;
    int closeRequests = 0;
    int editMenuPopups = 0;
    int pumps = 0;
    std::vector<Pointer> pointers;
    std::function<void()> onResize;
    std::function<void()> onCloseRequested;
};

// The document model as a text control that also keeps where it was moved, its word wrap, the
// undo and focus requests and the Changes raised. Everything else is the model's own behaviour.
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

// An Editor wired to the fakes of every port, with the window's resize and close requests
// routed to the main window's handlers as the real window routes them.
struct EditorWithFakes {
    EditorWithFakes() {
        control.SetEvents(&textEvents);
        // As the window is created: wrapping, with the menu captions that start-up relies on.
        window.SetMenuChecked(MenuItem::WordWrap, true);
        control.wordWrap = true;
        window.SetMenuCaption(MenuItem::KeyboardLayout, u"Раскладка клавиатуры");
        window.onResize = [this] { OnResize(ed); };
        window.onCloseRequested = [this] { closed = OnCloseRequested(ed); };
    }
    EditorWithFakes(const EditorWithFakes&) = delete;
    EditorWithFakes& operator=(const EditorWithFakes&) = delete;

    FakeFileSystem files;
    Cp1251Codec codec;
    RecordingTextControl control;
    FakeMainWindow window;
    FakeMessageBoxes messages;
    FakeSettingsStore settings;
    FakeKeyboardLayouts layouts{{kEnglishUs, kRussian}, 1}; // Russian active
    FakeClipboard clipboard;
    FakeFileDialogs fileDialogs;
    FakeShell shell;
    FakeAboutBox about;
    FakeFindDialog findDialog;
    FakeFontDialog fontDialog;
    Editor ed{{control, window, messages, settings, files, codec, layouts, clipboard, fileDialogs, shell,
               about, findDialog, fontDialog}};
    TextEvents textEvents{ed};
    bool closed = false; // the last close request went ahead
};

} // namespace quillet::fakes
