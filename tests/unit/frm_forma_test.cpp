#include "editor/core/commands.h"
#include "editor/core/frm_forma.h"
#include "editor/core/startup.h"
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
    frmForma_Form_Resize(f.ed);
    EXPECT_EQ(f.rich.model.Left(), 0);
    EXPECT_EQ(f.rich.model.Top(), 0);
    EXPECT_EQ(f.rich.model.Width(), 9000 - FakeMainWindow::kFrameWidth);
    EXPECT_EQ(f.rich.model.Height(), 7000 - FakeMainWindow::kFrameHeight);
    EXPECT_EQ(f.ed.doc.NormalWidth, 9000);
    EXPECT_EQ(f.ed.doc.NormalHeight, 7000);

    f.window.Maximize(); // fills the work area, keeps the normal size
    EXPECT_EQ(f.rich.model.Width(), f.window.workWidth - FakeMainWindow::kFrameWidth);
    EXPECT_EQ(f.ed.doc.NormalWidth, 9000);
    EXPECT_EQ(f.ed.doc.NormalHeight, 7000);

    f.window.state = WindowState::Minimized;
    f.rich.log.clear();
    f.window.Resized();
    EXPECT_TRUE(f.rich.log.empty()); // nothing moves while minimised
    EXPECT_EQ(f.ed.doc.NormalWidth, 9000);
}

TEST(ChangeTracking, EveryChangeMarksModifiedUnlessTheProgramIsChangingTheControl) {
    EditorWithFakes f;
    f.window.SetCaption(kAppTitle);
    f.rich.SetSelText(u"а");
    EXPECT_EQ(f.ed.doc.Modified, 1);
    EXPECT_EQ(f.ed.doc.UndoAllowed, 1);
    EXPECT_EQ(f.window.Caption(), kAppTitle); // editing never changes the caption

    EditorWithFakes g;
    g.ed.doc.EditorState = kStateChangingControl;
    g.rich.SetFontSize(20);
    g.rich.SetText(u"x");
    EXPECT_EQ(g.ed.doc.Modified, 0);
    EXPECT_EQ(g.ed.doc.UndoAllowed, 0);
    for (int32_t state : {kStateFind, kStateReplace, kStateLoadFailed}) {
        g.ed.doc = {};
        g.ed.doc.EditorState = state;
        g.rich.SetFontBold(true);
        EXPECT_EQ(g.ed.doc.Modified, 1) << state;
    }
}

TEST(WordWrap, TheCommandFlipsTheCheckMarkAndTheControlFollowsIt) {
    EditorWithFakes f;
    ASSERT_TRUE(f.window.MenuChecked(MenuItem::mFormatPerenosSlov));
    frmForma_mFormatPerenosSlov_Click(f.ed);
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::mFormatPerenosSlov));
    EXPECT_FALSE(f.rich.WordWrap());
    frmForma_mFormatPerenosSlov_Click(f.ed);
    EXPECT_TRUE(f.window.MenuChecked(MenuItem::mFormatPerenosSlov));
    EXPECT_TRUE(f.rich.WordWrap());
    EXPECT_EQ(f.rich.log, (std::vector<std::u16string>{u"Wrap=0", u"Wrap=1"}));
    EXPECT_EQ(f.ed.doc.Modified, 0);
}

TEST(Caption, IsTheAppNameWhileUntitledElseTheDisplayNameFirst) {
    DocumentState doc;
    EXPECT_EQ(CaptionFor(doc), u"Квиллет");
    doc.DisplayName = u" письмо.txt";
    EXPECT_EQ(CaptionFor(doc), u" письмо.txt - Квиллет");
}

TEST(Closing, AnUnmodifiedDocumentClosesWithoutAQuestionAndWritesTheSettings) {
    EditorWithFakes f;
    RunStartup(f.ed, u"C:\\Quillet", u"");
    int16_t cancel = 0;
    frmForma_Form_Unload(f.ed, cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_TRUE(f.messages.shown.empty());
    EXPECT_EQ(f.settings.writes.size(), 9u);
}

TEST(Closing, AModifiedDocumentIsNeverDroppedSilentlyAndACancelledCloseWritesNothing) {
    EditorWithFakes f;
    RunStartup(f.ed, u"C:\\Quillet", u"");
    f.rich.SetSelText(u"несохранённый текст");
    f.settings.writes.clear();

    frmForma_mnuExit_Click(f.ed); // asks the window to close, as the close box does
    EXPECT_EQ(f.window.closeRequests, 1);
    EXPECT_FALSE(f.closed);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].title, u"Квиллет");
    EXPECT_TRUE(f.settings.writes.empty());
    EXPECT_EQ(f.rich.Text(), u"несохранённый текст");
    EXPECT_EQ(f.ed.doc.Modified, 1);

    int16_t cancel = 0; // a later close asks again
    frmForma_Form_Unload(f.ed, cancel);
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(f.messages.shown.size(), 2u);
}

TEST(Commands, OnlyBuiltCommandsAreEnabledAndRunThroughTheTable) {
    EditorWithFakes f;
    ApplyCommandAvailability(f.ed);
    for (MenuItem item : kCommandItems)
        EXPECT_EQ(f.window.MenuEnabled(item), CommandReady(f.ed, item)) << int(item);
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::mnuExit));
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::mFormatPerenosSlov));
    EXPECT_TRUE(f.window.MenuEnabled(MenuItem::mFormatKlava));
    for (MenuItem menu : kMenus)
        EXPECT_TRUE(f.window.MenuEnabled(menu));

    EXPECT_TRUE(RunCommand(f.ed, MenuItem::mFormatKlava));
    EXPECT_EQ(f.layouts.switches, 1);
    EXPECT_TRUE(RunCommand(f.ed, MenuItem::mFormatPerenosSlov));
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::mFormatPerenosSlov));
    EXPECT_FALSE(RunCommand(f.ed, MenuItem::mnuFile));

    // A command whose service has no adapter is shown disabled and never runs.
    f.ed.ports.clipboard = nullptr;
    ApplyCommandAvailability(f.ed);
    EXPECT_FALSE(f.window.MenuEnabled(MenuItem::mEditCopy));
    EXPECT_FALSE(RunCommand(f.ed, MenuItem::mEditCopy));
}

} // namespace
} // namespace quillet
