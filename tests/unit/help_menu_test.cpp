#include "editor/app/commands.h"
#include "editor/files/help_menu.h"
#include "editor/files/redirect_page.h"

#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillet {
namespace {

using fakes::ShellOpen;

const std::string kHead = "<html><head><meta http-equiv='refresh' content='0; url=";
const std::string kTail = "'><meta http-equiv='Content-Type' content='text/html; charset=windows-1251'>"
                          "<title>WWW</title></head><body></body></html>\r\n";

std::string Cp1251(std::u16string_view text) {
    std::string out;
    fakes::Cp1251Codec().Encode(text, out);
    return out;
}

class HelpMenu : public ::testing::Test, public fakes::EditorWithFakes {
protected:
    HelpMenu() {
        ed.doc.programFolder = u"C:\\Prog\\";
        ed.doc.pathSeparator = u"\\";
    }
};

TEST_F(HelpMenu, F1WritesTheRedirectPageInAnsiAndOpensItFromTheProgramFolder) {
    int pumpsAtOpen = -1;
    bool pageOnDiskAtOpen = false;
    shell.onOpen = [&] {
        pumpsAtOpen = window.pumps;
        pageOnDiskAtOpen = files.Exists(u"C:\\Prog\\0.html");
    };
    files.files[u"C:\\Prog\\0.html"] = "an older page";

    OnHelp(ed);

    std::string page = kHead + "C:\\Prog\\" + "\xD1\xEF\xF0\xE0\xE2\xEA\xE0" + ".htm" + kTail;
    EXPECT_EQ(files.files[u"C:\\Prog\\0.html"], page);
    EXPECT_EQ(files.files.size(), 1u);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].file, u"C:\\Prog\\0.html");
    EXPECT_EQ(shell.opened[0].workingFolder, u"C:\\Prog");
    EXPECT_TRUE(pageOnDiskAtOpen);
    EXPECT_EQ(pumpsAtOpen, 1); // waiting messages go through once, before the shell is asked

    // A second F1 rewrites the same page.
    files.files[u"C:\\Prog\\0.html"] = "changed meanwhile";
    OnHelp(ed);
    EXPECT_EQ(files.files[u"C:\\Prog\\0.html"], page);
    ASSERT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(shell.opened[1].file, u"C:\\Prog\\0.html");
    EXPECT_TRUE(window.pointers.empty());
}

TEST_F(HelpMenu, ReadOnlyPagesAreSkippedForTheNextFreeNumber) {
    files.readOnly.insert(u"C:\\Prog\\0.html");
    OnMyPrograms(ed);
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].file, u"C:\\Prog\\1.html");
    EXPECT_EQ(files.files[u"C:\\Prog\\1.html"], kHead + "https://example.org/site/" + kTail);

    files.readOnly.insert({u"C:\\Prog\\1.html", u"C:\\Prog\\2.html", u"C:\\Prog\\9.html"});
    OnMyPrograms(ed);
    EXPECT_EQ(shell.opened.back().file, u"C:\\Prog\\3.html");
    EXPECT_FALSE(files.Exists(u"C:\\Prog\\0.html"));
}

TEST_F(HelpMenu, AFolderWithoutWriteAccessGivesUpAfterAHundredPagesAndOpensTheTargetDirectly) {
    ed.doc.programFolder = u"C:\\Program Files\\Quillet\\";
    files.readOnlyFolder = true;
    OnHelp(ed);
    EXPECT_EQ(files.writes, kRedirectPageTries);
    EXPECT_EQ(kRedirectPageTries, 100);
    EXPECT_TRUE(files.files.empty());
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].file, u"C:\\Program Files\\Quillet\\Справка.htm");
    EXPECT_EQ(shell.opened[0].workingFolder, u"C:\\Program Files\\Quillet");

    // The last number tried is 99; the hundredth free one would have been used.
    files.readOnlyFolder = false;
    for (int n = 0; n < kRedirectPageTries - 1; ++n)
        files.readOnly.insert(RedirectPagePath(ed.doc, n));
    OnMyPrograms(ed);
    EXPECT_EQ(shell.opened.back().file, u"C:\\Program Files\\Quillet\\99.html");
}

TEST_F(HelpMenu, MarkupCharactersInTheTargetAreWrittenAsReferencesSoThePageStaysWhole) {
    ed.doc.programFolder = u"D:\\O'Brien & <Co> \"x\"\\";
    OnHelp(ed);
    std::string target = "D:\\O&#39;Brien &amp; &lt;Co&gt; &quot;x&quot;\\" + Cp1251(u"Справка") + ".htm";
    EXPECT_EQ(files.files[u"D:\\O'Brien & <Co> \"x\"\\0.html"], kHead + target + kTail);
    EXPECT_EQ(shell.opened.at(0).file, u"D:\\O'Brien & <Co> \"x\"\\0.html");
}

TEST_F(HelpMenu, HashAndPercentInALocalPathAreEscapedButAWebAddressIsLeftAlone) {
    ed.doc.programFolder = u"C:\\C# 100%\\";
    OnHelp(ed);
    EXPECT_EQ(files.files[u"C:\\C# 100%\\0.html"],
              kHead + "C:\\C%23 100%25\\" + Cp1251(u"Справка.htm") + kTail);

    OpenViaRedirectPage(ed, u"\\\\server\\share#1\\a.htm");
    EXPECT_EQ(files.files[u"C:\\C# 100%\\0.html"], kHead + "\\\\server\\share%231\\a.htm" + kTail);

    OpenViaRedirectPage(ed, u"https://example.org/site/?q=100%25#top");
    EXPECT_EQ(files.files[u"C:\\C# 100%\\0.html"], kHead + "https://example.org/site/?q=100%25#top" + kTail);
}

TEST_F(HelpMenu, CharactersOutsideTheCodePageAreWrittenAsNumericReferences) {
    // Chinese, an emoji beyond the basic plane, a lone surrogate, a tab and the euro sign that
    // Windows-1251 does hold.
    std::u16string target = u"C:\\中\U0001F600\\\xD800\t€.htm";
    OpenViaRedirectPage(ed, target);
    std::string line = kHead + "C:\\&#20013;&#128512;\\&#65533;&#9;\x88.htm" + kTail;
    EXPECT_EQ(files.files[u"C:\\Prog\\0.html"], line);
}

TEST_F(HelpMenu, TheWorkingFolderDropsTheTrailingSeparatorExceptAtARoot) {
    ed.doc.programFolder = u"C:\\";
    OnHelp(ed);
    EXPECT_EQ(shell.opened.at(0).file, u"C:\\0.html");
    EXPECT_EQ(shell.opened.at(0).workingFolder, u"C:\\");

    ed.doc.programFolder = u"/opt/quillet/";
    ed.doc.pathSeparator = u"/";
    OnHelp(ed);
    EXPECT_EQ(shell.opened.at(1).file, u"/opt/quillet/0.html");
    EXPECT_EQ(shell.opened.at(1).workingFolder, u"/opt/quillet");
    EXPECT_EQ(files.files[u"/opt/quillet/0.html"], kHead + "/opt/quillet/" + Cp1251(u"Справка.htm") + kTail);
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

    OnAbout(ed);

    EXPECT_EQ(about.shows, 1);
    EXPECT_EQ(pointersAtOpen, std::vector<Pointer>{Pointer::Busy});
    EXPECT_EQ(pointersAtWrite, (std::vector<Pointer>{Pointer::Busy, Pointer::Normal}));
    EXPECT_EQ(files.files[u"C:\\Prog\\0.html"], kHead + "https://example.org/site/" + kTail);
    EXPECT_EQ(shell.opened.at(0).file, u"C:\\Prog\\0.html");
    EXPECT_FALSE(about.window.open);
    EXPECT_EQ(about.window.closes, 1);
    EXPECT_TRUE(window.pointers.empty()); // the main window's pointer is not the About window's

    // Opened again, it starts afresh.
    about.whileOpen = nullptr;
    OnAbout(ed);
    EXPECT_EQ(about.shows, 2);
    EXPECT_TRUE(about.window.pointers.empty());
}

TEST_F(HelpMenu, TheHelpItemsRunFromTheMenu) {
    EXPECT_TRUE(RunCommand(ed, MenuItem::Help));
    EXPECT_TRUE(RunCommand(ed, MenuItem::About));
    EXPECT_TRUE(RunCommand(ed, MenuItem::MyPrograms));
    EXPECT_EQ(shell.opened.size(), 2u);
    EXPECT_EQ(about.shows, 1);
}

} // namespace
} // namespace quillet
