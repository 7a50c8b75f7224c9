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

TEST(Startup, AppliesEveryStoredSettingOpensTheDocumentAndEndsUnmodified) {
    EditorWithFakes f;
    f.layouts.active = 0; // English active, Russian stored
    f.ed.search.history = {u"left over"};
    f.settings.Set(u"FontName", u"Arial");
    f.settings.Set(u"FontSize", u"14");
    f.settings.Set(u"FontBold", u"INI");
    f.settings.Set(u"Klava", u"419");
    f.settings.Set(u"Width", u"8000");
    f.settings.Set(u"Height", u"6000");
    f.settings.Set(u"WindowState", u"2");
    f.files.files[u"C:\\docs\\a.txt"] = "text";

    RunStartup(f.ed, u"C:\\Program Files\\Quillet", u"\"C:\\docs\\a.txt\"");

    EXPECT_EQ(f.control.Text(), u"text");
    EXPECT_EQ(f.control.Font().name, u"Arial");
    EXPECT_EQ(f.control.Font().size, 14);
    EXPECT_TRUE(f.control.Font().bold);
    EXPECT_FALSE(f.control.Font().italic);
    EXPECT_EQ(f.layouts.active, 1u); // switched to the stored layout
    EXPECT_FALSE(f.control.wordWrap);
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_EQ(f.ed.doc.normalWidth, 8000);
    EXPECT_EQ(f.ed.doc.normalHeight, 6000);
    EXPECT_EQ(f.window.state, WindowState::Maximized);
    EXPECT_EQ(f.window.shows, 1);
    EXPECT_EQ(f.ed.doc.programFolder, u"C:\\Program Files\\Quillet\\");
    EXPECT_EQ(f.ed.doc.pathSeparator, u"\\");
    EXPECT_TRUE(f.ed.search.history.empty());
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\docs\\"); // the loaded document's folder
    EXPECT_FALSE(f.ed.doc.changingControl);
    EXPECT_FALSE(f.ed.doc.modified); // the font writes do not count as edits
    EXPECT_FALSE(f.ed.doc.undoAllowed);
    EXPECT_EQ(f.window.caption, u" a.txt - Квиллет");
}

TEST(Startup, AFirstRunWithoutArgumentsIsUntitledWithTheBuiltInSizeNoWrapAndTheDefaultFont) {
    EditorWithFakes f;
    f.window.caption = kAppTitle; // as the window is created
    const int32_t builtInWidth = f.window.width, builtInHeight = f.window.height;
    RunStartup(f.ed, u"/opt/quillet", u"");
    EXPECT_EQ(f.ed.doc.programFolder, u"/opt/quillet/");
    EXPECT_EQ(f.ed.doc.pathSeparator, u"/");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"/opt/quillet/");
    EXPECT_EQ(f.ed.doc.path, u"");
    EXPECT_EQ(f.window.caption, u"Квиллет");
    EXPECT_EQ(f.files.reads, 0);
    EXPECT_EQ(f.window.shows, 1);
    EXPECT_EQ(std::pair(f.window.width, f.window.height), std::pair(builtInWidth, builtInHeight));
    EXPECT_EQ(std::pair(f.ed.doc.normalWidth, f.ed.doc.normalHeight), std::pair(builtInWidth, builtInHeight));
    EXPECT_EQ(f.window.state, WindowState::Normal);
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_FALSE(f.control.wordWrap);
    EXPECT_EQ(f.control.Font().name, u"MS Sans Serif");
    EXPECT_EQ(f.control.Font().size, 12);
    EXPECT_FALSE(f.control.Font().bold || f.control.Font().italic);

    EditorWithFakes g; // a folder already ending in its separator keeps one
    RunStartup(g.ed, u"C:\\", u"");
    EXPECT_EQ(g.ed.doc.programFolder, u"C:\\");
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

    EditorWithFakes g; // two quoted paths are one path
    g.files.files[u"C:\\a.txt"] = "a";
    RunStartup(g.ed, u"C:\\Quillet", u"\"C:\\a.txt\" \"C:\\b.txt\"");
    ASSERT_EQ(g.messages.shown.size(), 1u);
    EXPECT_EQ(g.messages.shown[0].text, u"Файл \"C:\\a.txt\" \"C:\\b.txt\" не найден.");
}

TEST(Startup, AnUnquotedPathWithSpacesIsOnePath) {
    EditorWithFakes f;
    f.files.files[u"C:\\My Documents\\заметки.txt"] = "\xe4\xe0";
    RunStartup(f.ed, u"C:\\Quillet", u"C:\\My Documents\\заметки.txt");
    EXPECT_EQ(f.control.Text(), u"да");
    EXPECT_EQ(f.window.caption, u" заметки.txt - Квиллет");
    EXPECT_EQ(f.ed.doc.dialogFolder, u"C:\\My Documents\\");
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
