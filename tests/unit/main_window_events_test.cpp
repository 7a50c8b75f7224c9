#include "editor/app/commands.h"
#include "editor/app/main_window_events.h"
#include "editor/app/startup.h"
#include "editor/document/document.h"
#include "fakes/editor_with_fakes.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using fakes::EditorWithFakes;
using fakes::FakeMainWindow;

TEST(Resize, FillsTheClientAreaAndRemembersOnlyTheNormalOuterSize) {
    EditorWithFakes f;
    f.window.width = 9000;
    f.window.height = 7000;
    OnResize(f.ed);
    EXPECT_EQ(f.control.bounds.left, 0);
    EXPECT_EQ(f.control.bounds.top, 0);
    EXPECT_EQ(f.control.bounds.width, 9000 - FakeMainWindow::kFrameWidth);
    EXPECT_EQ(f.control.bounds.height, 7000 - FakeMainWindow::kFrameHeight);
    EXPECT_EQ(f.ed.doc.normalWidth, 9000);
    EXPECT_EQ(f.ed.doc.normalHeight, 7000);

    f.window.Maximize(); // fills the work area, keeps the normal size
    EXPECT_EQ(f.control.bounds.width, f.window.workWidth - FakeMainWindow::kFrameWidth);
    EXPECT_EQ(f.ed.doc.normalWidth, 9000);
    EXPECT_EQ(f.ed.doc.normalHeight, 7000);

    f.window.state = WindowState::Minimized;
    f.control.bounds = {};
    f.window.Resized();
    EXPECT_EQ(f.control.bounds.width, 0); // nothing moves while minimised
    EXPECT_EQ(f.ed.doc.normalWidth, 9000);
}

TEST(ChangeTracking, EveryChangeMarksModifiedUnlessTheProgramIsChangingTheControl) {
    EditorWithFakes f;
    f.window.SetCaption(kAppTitle);
    f.control.SetSelText(u"а");
    EXPECT_TRUE(f.ed.doc.modified);
    EXPECT_TRUE(f.ed.doc.undoAllowed);
    EXPECT_EQ(f.window.caption, kAppTitle); // editing never changes the caption

    EditorWithFakes g;
    {
        ProgramChangingControl changing(g.ed.doc);
        g.control.SetFontSize(20);
        g.control.SetText(u"x");
    }
    EXPECT_FALSE(g.ed.doc.modified);
    EXPECT_FALSE(g.ed.doc.undoAllowed);
    g.control.SetFontBold(true); // the guard has ended
    EXPECT_TRUE(g.ed.doc.modified);
}

// Modified documents on closing are the save-changes table's; here the close itself.
TEST(Closing, ExitAsksTheWindowToCloseAndAnUnmodifiedDocumentClosesAtOnceWritingTheSettings) {
    EditorWithFakes f;
    RunStartup(f.ed, u"C:\\Quillet", u"");
    OnExit(f.ed);
    EXPECT_EQ(f.window.closeRequests, 1);
    EXPECT_TRUE(f.closed);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.settings.writes.size(), 9u);
}

TEST(Commands, EveryItemRunsThroughTheTableAndTheMenusRunNothing) {
    EditorWithFakes f;
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::KeyboardLayout));
    EXPECT_EQ(f.layouts.switches, 1);
    f.ed.doc.wordWrap = true;
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::WordWrap));
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_FALSE(RunCommand(f.ed, MenuItem::FileMenu));
    f.ed.doc.path = u"C:\\a.txt"; // Save As asks for a name even for a titled document
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::SaveAs));
    EXPECT_EQ(f.fileDialogs.shown.size(), 1u);
}

} // namespace
} // namespace quillet
