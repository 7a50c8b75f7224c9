#include "editor/app/commands.h"
#include "editor/app/settings.h"
#include "editor/edit/keyboard_layout.h"
#include "editor/files/help_menu.h"
#include "editor/files/redirect_page.h"
#include "editor/find/find_dialog_model.h"
#include "editor/find/search.h"

#include "fakes/fakes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace quillet {
namespace {

std::string Page(std::u16string_view target) {
    std::string out;
    fakes::Cp1251Codec().Encode(target, out);
    return "<html><head><meta http-equiv='refresh' content='0; url=" + out +
           "'><meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>"
           "<title>WWW</title></head><body></body></html>\r\n";
}

class HelpMenu : public ::testing::Test, public fakes::EditorWithFakes {
protected:
    HelpMenu() {
        ed.doc.programFolder = u"C:\\Prog\\";
        ed.doc.pathSeparator = u"\\";
    }
};

// The page 0.html in the program's folder sends the browser to the target, written so that the
// one-line page stays whole and a file address leads where it names.
TEST(RedirectPage, IsWrittenInAnsiWithTheTargetEscapedAndOpenedFromTheProgramFolder) {
    struct Case {
        std::u16string folder, separator;
        const char16_t* target; // nullptr: the help page, by F1
        std::u16string url, workingFolder;
    };
    const Case cases[] = {
        {u"C:\\Prog\\", u"\\", nullptr, u"C:\\Prog\\Справка.htm", u"C:\\Prog"},
        {u"D:\\O'Brien & <Co> \"x\"\\", u"\\", nullptr,
         u"D:\\O&#39;Brien &amp; &lt;Co&gt; &quot;x&quot;\\Справка.htm", u"D:\\O'Brien & <Co> \"x\""},
        {u"C:\\C# 100%\\", u"\\", nullptr, u"C:\\C%23 100%25\\Справка.htm", u"C:\\C# 100%"},
        {u"C:\\", u"\\", nullptr, u"C:\\Справка.htm", u"C:\\"}, // a root keeps its separator
        {u"/opt/quillet/", u"/", nullptr, u"/opt/quillet/Справка.htm", u"/opt/quillet"},
        {u"C:\\Prog\\", u"\\", u"\\\\server\\share#1\\a.htm", u"\\\\server\\share%231\\a.htm", u"C:\\Prog"},
        {u"C:\\Prog\\", u"\\", u"https://example.org/site/?q=100%25#top",
         u"https://example.org/site/?q=100%25#top", u"C:\\Prog"},
        // Chinese, an emoji beyond the basic plane, a lone surrogate, a tab, DEL and the euro
        // sign that Windows-1251 does hold.
        {u"C:\\Prog\\", u"\\", u"C:\\中\U0001F600\\\xD800\t\x7F€.htm",
         u"C:\\&#20013;&#128512;\\&#65533;&#9;&#127;€.htm", u"C:\\Prog"},
    };
    for (const Case& c : cases) {
        fakes::EditorWithFakes f;
        f.ed.doc.programFolder = c.folder;
        f.ed.doc.pathSeparator = c.separator;
        c.target ? OpenViaRedirectPage(f.ed, c.target) : OnHelp(f.ed);
        const std::u16string page = c.folder + u"0.html";
        EXPECT_EQ(f.files.files, (std::map<std::u16string, std::string>{{page, Page(c.url)}}))
            << std::string(c.url.begin(), c.url.end());
        ASSERT_EQ(f.shell.opened.size(), 1u);
        EXPECT_EQ(f.shell.opened[0].file, page);
        EXPECT_EQ(f.shell.opened[0].workingFolder, c.workingFolder);
    }
}

TEST_F(HelpMenu, F1LetsWaitingMessagesThroughOnceTheCurrentPageIsOnDiskAndRewritesItEachTime) {
    int pumpsAtOpen = -1;
    std::string pageAtOpen;
    shell.onOpen = [&] {
        pumpsAtOpen = window.pumps;
        pageAtOpen = files.files[u"C:\\Prog\\0.html"];
    };
    for (const char* before : {"an older page", "changed meanwhile"}) {
        files.files[u"C:\\Prog\\0.html"] = before;
        window.pumps = 0;
        EXPECT_TRUE(RunCommand(ed, MenuItem::Help));
        EXPECT_EQ(pageAtOpen, Page(u"C:\\Prog\\Справка.htm"));
        EXPECT_EQ(pumpsAtOpen, 1);
    }
    EXPECT_EQ(shell.opened.size(), 2u);
    EXPECT_TRUE(window.pointers.empty());
}

TEST_F(HelpMenu, ReadOnlyPagesAreSkippedForTheNextFreeNumberAndAHundredFailuresOpenTheTarget) {
    files.readOnly.insert(
        {u"C:\\Prog\\0.html", u"C:\\Prog\\1.html", u"C:\\Prog\\2.html", u"C:\\Prog\\9.html"});
    EXPECT_TRUE(RunCommand(ed, MenuItem::MyPrograms));
    EXPECT_EQ(shell.opened.at(0).file, u"C:\\Prog\\3.html");
    EXPECT_EQ(files.files, (std::map<std::u16string, std::string>{
                               {u"C:\\Prog\\3.html", Page(u"https://example.org/site/")}}));

    // The last number tried is 99.
    for (int n = 0; n < 99; ++n)
        files.readOnly.insert(RedirectPagePath(ed.doc, n));
    OnMyPrograms(ed);
    EXPECT_EQ(shell.opened.at(1).file, u"C:\\Prog\\99.html");

    files.readOnlyFolder = true;
    files.writes = 0;
    OnHelp(ed);
    EXPECT_EQ(files.writes, 100);
    EXPECT_EQ(shell.opened.at(2).file, u"C:\\Prog\\Справка.htm");
    EXPECT_EQ(shell.opened[2].workingFolder, u"C:\\Prog");
}

TEST_F(HelpMenu, TheAboutLinkShowsTheHourglassWhileThePageIsWrittenAndOpened) {
    std::vector<Pointer> pointersAtWrite;
    std::vector<Pointer> pointersAtOpen;
    about.whileOpen = [&](fakes::FakeAboutWindow& w) {
        shell.onOpen = [&] { pointersAtOpen = w.pointers; };
        OnAboutLink(ed, w);
        pointersAtWrite = w.pointers;
        EXPECT_TRUE(w.open);
        OnAboutOk(w);
    };
    EXPECT_TRUE(RunCommand(ed, MenuItem::About));
    EXPECT_EQ(pointersAtOpen, std::vector<Pointer>{Pointer::Busy});
    EXPECT_EQ(pointersAtWrite, (std::vector<Pointer>{Pointer::Busy, Pointer::Normal}));
    EXPECT_EQ(files.files[u"C:\\Prog\\0.html"], Page(u"https://example.org/site/"));
    EXPECT_EQ(shell.opened.at(0).file, u"C:\\Prog\\0.html");
    EXPECT_FALSE(about.window.open);
    EXPECT_EQ(about.window.closes, 1);
    EXPECT_TRUE(window.pointers.empty()); // the main window's pointer is not the About window's
}

// The help page as it ships: Windows-1251 bytes.
std::string HelpPageBytes() {
    std::string source = __FILE__; // the build passes this file's full path
    std::ifstream in(source.substr(0, source.rfind("tests/unit/")) + "editor/help/Справка.htm",
                     std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(HelpPage, IsWindows1251WithCrLfAndCoversEveryCommandShortcutTheFindDialogAndSettings) {
    const std::string bytes = HelpPageBytes();
    const std::u16string page = fakes::Cp1251Codec().Decode(bytes);
    ASSERT_FALSE(bytes.empty()) << "the help page is missing";
    EXPECT_NE(page.find(u"charset=windows-1251"), std::u16string::npos);
    EXPECT_NE(page.find(u"<html lang=\"ru\">"), std::u16string::npos);
    // Read as Windows-1251 the Russian text is there; a UTF-8 page would read as mojibake.
    EXPECT_NE(page.find(u"Квиллет"), std::u16string::npos);
    size_t lines = 0, crlf = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') {
            ++lines;
            crlf += i > 0 && bytes[i - 1] == '\r';
        }
    EXPECT_GT(lines, 50u);
    EXPECT_EQ(crlf, lines);
    std::vector<std::u16string_view> expected = {
        // Every command of the menu bar, as captioned.
        u"Новый", u"Открыть...", u"Сохранить", u"Сохранить как..", u"Выход", u"Отменить", u"Вырезать",
        u"Копировать", u"Вставить", u"Удалить", u"Выделить всё", u"Найти", u"Найти далее…", u"Заменить",
        u"Перенос по словам", u"Шрифт…", u"Раскладка клавиатуры", u"Вызов справки", u"О программе",
        u"Список моих программ",
        // The other keys, the find dialog's messages, what persists and the layout as the menu says it.
        u"<kbd>Del</kbd>", u"<kbd>F3</kbd>", u"<kbd>F9</kbd>", u"<kbd>F1</kbd>",
        u"<kbd>Shift</kbd>+<kbd>F10</kbd>", u"<kbd>Enter</kbd>", u"<kbd>Esc</kbd>", kTextNotFound,
        kReplacementCount, u"Что запоминает программа", u"перенос по словам", u"размер окна",
        kDefaultFontName, LayoutCaption(419), LayoutCaption(409), LayoutCaption(0)};
    for (std::u16string_view words : expected)
        EXPECT_NE(page.find(words), std::u16string::npos)
            << "not covered: " << ::testing::PrintToString(words);
    for (const FindControlSpec& control : kFindControls) { // the find dialog's own words, as shown
        std::u16string words(control.caption);
        std::erase(words, u'&');
        EXPECT_NE(page.find(words), std::u16string::npos)
            << "not covered: " << ::testing::PrintToString(words);
    }
    for (char16_t key : std::u16string_view(u"NOSZXCVAFH"))
        EXPECT_NE(page.find(u"<kbd>Ctrl</kbd>+<kbd>" + std::u16string(1, key) + u"</kbd>"),
                  std::u16string::npos);
}

} // namespace
} // namespace quillet
