#include "editor/app/startup.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using fakes::EditorWithFakes;

TEST(CommandLine, DropsOneLeadingThenOneTrailingQuoteAndKeepsTheRestWhole) {
    EXPECT_EQ(DocumentPathFromCommandLine(u""), u"");
    EXPECT_EQ(DocumentPathFromCommandLine(u"\"C:\\a b\\c.txt\""), u"C:\\a b\\c.txt");
    EXPECT_EQ(DocumentPathFromCommandLine(u"\"C:\\a.txt"), u"C:\\a.txt");
    EXPECT_EQ(DocumentPathFromCommandLine(u"C:\\a.txt\""), u"C:\\a.txt");
    EXPECT_EQ(DocumentPathFromCommandLine(u"C:\\My Documents\\a.txt"), u"C:\\My Documents\\a.txt");
    EXPECT_EQ(DocumentPathFromCommandLine(u"\"a.txt\" \"b.txt\""), u"a.txt\" \"b.txt");
    EXPECT_EQ(DocumentPathFromCommandLine(u"\""), u"");
    EXPECT_EQ(DocumentPathFromCommandLine(u"\"\""), u"");
    EXPECT_EQ(DocumentPathFromCommandLine(u"\"\"\""), u"\"");
    EXPECT_EQ(DocumentPathFromCommandLine(u" a.txt "), u" a.txt "); // nothing trimmed
}

// Every port call start-up makes, in one log, to check the order of its steps.
struct Journal {
    std::vector<std::string> entries;
    void Add(std::string entry) { entries.push_back(std::move(entry)); }
};

std::string Narrow(std::u16string_view text) {
    std::string s;
    for (char16_t c : text)
        s.push_back(c < 0x80 ? char(c) : '?');
    return s;
}

struct JournalSettings : fakes::FakeSettingsStore {
    Journal* journal;
    explicit JournalSettings(Journal* j) : journal(j) {}
    std::u16string Read(std::u16string_view app, std::u16string_view section,
                        std::u16string_view key) override {
        journal->Add("read " + Narrow(key));
        return FakeSettingsStore::Read(app, section, key);
    }
};

struct JournalLayouts : fakes::FakeKeyboardLayouts {
    Journal* journal;
    explicit JournalLayouts(Journal* j)
        : FakeKeyboardLayouts({fakes::kEnglishUs, fakes::kRussian}, 0), journal(j) {}
    std::string ActiveLayoutName() override {
        journal->Add("layout name");
        return FakeKeyboardLayouts::ActiveLayoutName();
    }
    uint32_t ActivateNext() override {
        journal->Add("layout next");
        return FakeKeyboardLayouts::ActivateNext();
    }
};

struct JournalFiles : fakes::FakeFileSystem {
    Journal* journal;
    explicit JournalFiles(Journal* j) : journal(j) {}
    ReadResult ReadWhole(std::u16string_view path) override {
        journal->Add("read file " + Narrow(path));
        return FakeFileSystem::ReadWhole(path);
    }
};

struct JournalMessages : fakes::FakeMessageBoxes {
    Journal* journal;
    explicit JournalMessages(Journal* j) : journal(j) {}
    MessageAnswer Show(std::u16string_view text, std::u16string_view title, MessageStyle style) override {
        journal->Add("message");
        return FakeMessageBoxes::Show(text, title, style);
    }
};

struct JournalWindow : fakes::FakeMainWindow {
    Journal* journal;
    explicit JournalWindow(Journal* j) : journal(j) {}
    void SetMenuCaption(MenuItem item, std::u16string_view value) override {
        journal->Add("menu caption " + std::to_string(int(item)));
        FakeMainWindow::SetMenuCaption(item, value);
    }
    void SetMenuChecked(MenuItem item, bool value) override {
        journal->Add("menu check " + std::to_string(value));
        FakeMainWindow::SetMenuChecked(item, value);
    }
    void Show() override {
        journal->Add("show");
        FakeMainWindow::Show();
    }
    void SetOuterWidth(int32_t twips) override {
        journal->Add("width " + std::to_string(twips));
        FakeMainWindow::SetOuterWidth(twips);
    }
    void SetOuterHeight(int32_t twips) override {
        journal->Add("height " + std::to_string(twips));
        FakeMainWindow::SetOuterHeight(twips);
    }
    void Maximize() override {
        journal->Add("maximize");
        FakeMainWindow::Maximize();
    }
};

struct JournalControl : fakes::RecordingTextControl {
    Journal* journal;
    Editor* ed = nullptr;
    explicit JournalControl(Journal* j) : journal(j) {}
    void SetText(std::u16string value) override {
        journal->Add("control text");
        RecordingTextControl::SetText(std::move(value));
    }
    void Move(int32_t left, int32_t top, int32_t width, int32_t height) override {
        journal->Add("control move");
        RecordingTextControl::Move(left, top, width, height);
    }
    void SetWordWrap(bool wrap) override {
        journal->Add(std::string("control wrap ") + (wrap ? "on" : "off"));
        RecordingTextControl::SetWordWrap(wrap);
    }
    void SetFontName(std::u16string_view name) override {
        journal->Add("control font name " + Narrow(name) +
                     (ed->doc.changingControl ? " by the program" : ""));
        RecordingTextControl::SetFontName(name);
    }
    void SetFontSize(int32_t points) override {
        journal->Add("control font size " + std::to_string(points));
        RecordingTextControl::SetFontSize(points);
    }
    void SetFontBold(bool bold) override {
        journal->Add("control bold " + std::to_string(bold));
        RecordingTextControl::SetFontBold(bold);
    }
    void SetFontItalic(bool italic) override {
        journal->Add("control italic " + std::to_string(italic));
        RecordingTextControl::SetFontItalic(italic);
    }
};

TEST(Startup, RunsItsStepsInTheirFixedOrder) {
    Journal journal;
    JournalSettings settings(&journal);
    JournalLayouts layouts(&journal); // English active
    JournalFiles files(&journal);
    JournalMessages messages(&journal);
    JournalWindow window(&journal);
    fakes::Cp1251Codec codec;
    JournalControl control(&journal);
    fakes::FakeClipboard clipboard;
    fakes::FakeFileDialogs fileDialogs;
    fakes::FakeShell shell;
    fakes::FakeAboutBox about;
    fakes::FakeFindDialog findDialog;
    fakes::FakeFontDialog fontDialog;
    Editor ed({control, window, messages, settings, files, codec, layouts, clipboard, fileDialogs, shell,
               about, findDialog, fontDialog});
    control.ed = &ed;
    TextEvents events(ed);
    control.SetEvents(&events);
    window.checked[MenuItem::WordWrap] = true;
    window.onResize = [&] {
        journal.Add("resize");
        OnResize(ed);
    };
    ed.search.history = {u"left over"};
    settings.Set(u"FontName", u"Arial");
    settings.Set(u"FontSize", u"14");
    settings.Set(u"FontBold", u"INI");
    settings.Set(u"Klava", u"419");
    settings.Set(u"Width", u"8000");
    settings.Set(u"Height", u"6000");
    settings.Set(u"WindowState", u"2");
    files.files[u"C:\\docs\\a.txt"] = "text";

    RunStartup(ed, u"C:\\Program Files\\Quillet", u"\"C:\\docs\\a.txt\"");

    const std::vector<std::string> expected = {
        "read FontName",
        "read FontSize",
        "read FontBold",
        "read FontItalic",
        "read Klava",
        "layout name",
        "layout next",
        "menu caption 19",
        "read file C:\\docs\\a.txt",
        "control text",
        "control font name Arial by the program",
        "control font size 14",
        "control bold 1",
        "control italic 0",
        "show",
        "resize",
        "control move",
        "read PerenosSlov",
        "menu check 0",
        "control wrap off",
        "read Width",
        "width 8000",
        "resize",
        "control move",
        "read Height",
        "height 6000",
        "resize",
        "control move", //
        "read WindowState",
        "maximize",
        "resize",
        "control move",
        "control font name Arial by the program",
        "control font size 14",
        "control bold 1",
        "control italic 0",
    };
    EXPECT_EQ(journal.entries, expected);
    EXPECT_EQ(ed.doc.programFolder, u"C:\\Program Files\\Quillet\\");
    EXPECT_EQ(ed.doc.pathSeparator, u"\\");
    EXPECT_TRUE(ed.search.history.empty());
    EXPECT_EQ(ed.doc.dialogFolder, u"C:\\docs\\"); // the loaded document's folder
    EXPECT_FALSE(ed.doc.changingControl);
    EXPECT_FALSE(ed.doc.modified); // the font writes do not count as edits
    EXPECT_FALSE(ed.doc.undoAllowed);
    EXPECT_EQ(window.caption, u" a.txt - Квиллет");
}

TEST(Startup, WithoutArgumentsGivesAnUntitledDocumentWithDialogsInTheProgramFolder) {
    EditorWithFakes f;
    f.window.caption = kAppTitle; // as the window is created
    RunStartup(f.ed, u"/opt/quillet", u"");
    EXPECT_EQ(f.ed.doc.programFolder, u"/opt/quillet/");
    EXPECT_EQ(f.ed.doc.pathSeparator, u"/");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"/opt/quillet/");
    EXPECT_EQ(f.ed.doc.path, u"");
    EXPECT_EQ(f.window.caption, u"Квиллет");
    EXPECT_EQ(f.files.reads, 0);
    EXPECT_EQ(f.window.shows, 1);

    EditorWithFakes g; // a folder already ending in its separator keeps one
    RunStartup(g.ed, u"C:\\", u"");
    EXPECT_EQ(g.ed.doc.programFolder, u"C:\\");
}

TEST(Startup, FirstRunKeepsTheBuiltInSizeTurnsWrapOffAndUsesTheDefaultFont) {
    EditorWithFakes f;
    int32_t builtInWidth = f.window.width;
    int32_t builtInHeight = f.window.height;
    RunStartup(f.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(f.window.width, builtInWidth);
    EXPECT_EQ(f.window.height, builtInHeight);
    EXPECT_EQ(f.window.state, WindowState::Normal);
    EXPECT_EQ(f.ed.doc.normalWidth, builtInWidth);
    EXPECT_EQ(f.ed.doc.normalHeight, builtInHeight);
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_FALSE(f.control.wordWrap);
    EXPECT_EQ(f.control.Font().name, u"MS Sans Serif");
    EXPECT_EQ(f.control.Font().size, 12);
    EXPECT_FALSE(f.control.Font().bold);
    EXPECT_FALSE(f.control.Font().italic);
}

TEST(Startup, AMissingDocumentIsReportedBeforeTheWindowAppearsThenTheWindowIsUntitled) {
    EditorWithFakes f;
    f.window.caption = kAppTitle;
    bool visibleDuringMessage = true;
    f.messages.onShow = [&] { visibleDuringMessage = f.window.visible; };
    RunStartup(f.ed, u"C:\\Quillet", u"\"C:\\нет.txt\"");
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].text, u"Файл \"C:\\нет.txt\" не найден.");
    EXPECT_FALSE(visibleDuringMessage);
    EXPECT_TRUE(f.window.visible);
    EXPECT_EQ(f.window.caption, u"Квиллет");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\Quillet\\");
    EXPECT_EQ(f.ed.doc.path, u"");
}

TEST(Startup, UnquotedPathsWithSpacesAndTwoQuotedPathsAreOnePath) {
    EditorWithFakes f;
    f.files.files[u"C:\\My Documents\\заметки.txt"] = "\xe4\xe0";
    RunStartup(f.ed, u"C:\\Quillet", u"C:\\My Documents\\заметки.txt");
    EXPECT_EQ(f.control.Text(), u"да");
    EXPECT_EQ(f.window.caption, u" заметки.txt - Квиллет");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\My Documents\\");

    EditorWithFakes g;
    g.files.files[u"C:\\a.txt"] = "a";
    RunStartup(g.ed, u"C:\\Quillet", u"\"C:\\a.txt\" \"C:\\b.txt\"");
    ASSERT_EQ(g.messages.shown.size(), 1u);
    EXPECT_EQ(g.messages.shown[0].text, u"Файл \"C:\\a.txt\" \"C:\\b.txt\" не найден.");
}

TEST(Startup, StoredSizesBeyondTheWorkAreaAreShrunkAndNonPositiveOnesIgnored) {
    EditorWithFakes f;
    f.settings.Set(u"Width", u"99999");
    f.settings.Set(u"Height", u"88888");
    RunStartup(f.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(f.window.width, f.window.workWidth);
    EXPECT_EQ(f.window.height, f.window.workHeight);

    EditorWithFakes g;
    int32_t builtInWidth = g.window.width;
    int32_t builtInHeight = g.window.height;
    g.settings.Set(u"Width", u"-100");
    g.settings.Set(u"Height", u"wide");
    g.settings.Set(u"WindowState", u"1");
    RunStartup(g.ed, u"C:\\Quillet", u"");
    EXPECT_EQ(g.window.width, builtInWidth);
    EXPECT_EQ(g.window.height, builtInHeight);
    EXPECT_EQ(g.window.state, WindowState::Normal);
}

} // namespace
} // namespace quillet
