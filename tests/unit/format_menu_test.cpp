#include "editor/edit/format_menu.h"

#include "edit_fixture.h"
#include "editor/document/document.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

using testing::EditFixture;

TEST(FontCommand, CancellingChangesNothing) {
    EditFixture f;
    f.control.SetFont({u"Courier New", 12, false, false});
    f.editor.doc.font = {u"Times New Roman", 9, true, true};

    OnFont(f.editor);

    EXPECT_EQ(f.fontDialog.shows, 1);
    ASSERT_TRUE(f.fontDialog.shownFont.has_value()); // started from the document font
    EXPECT_EQ(f.fontDialog.shownFont->name, u"Times New Roman");
    EXPECT_EQ(f.fontDialog.shownFont->size, 9);
    EXPECT_TRUE(f.fontDialog.shownFont->bold && f.fontDialog.shownFont->italic);
    EXPECT_EQ(f.editor.doc.font.name, u"Times New Roman");
    EXPECT_TRUE(f.tracker.statesSeen.empty()); // the control was not touched
}

TEST(FontCommand, AConfirmedChoiceIsStoredAndAppliedWithoutMarkingTheDocumentModified) {
    EditFixture f;
    f.fontDialog.answer = FontSpec{std::u16string(100, u'x'), 10, true, true};

    OnFont(f.editor);

    const DocumentState& doc = f.editor.doc;
    EXPECT_EQ(doc.font.name, std::u16string(79, u'x')); // at most 79 characters are kept
    EXPECT_EQ(doc.font.size, 10);
    EXPECT_TRUE(doc.font.bold);
    EXPECT_TRUE(doc.font.italic);
    FontSpec applied = f.control.Font();
    EXPECT_EQ(applied.name, doc.font.name);
    EXPECT_EQ(applied.size, 10);
    EXPECT_TRUE(applied.bold && applied.italic);
    EXPECT_EQ(f.tracker.statesSeen, std::vector<bool>(4, true)); // each write, as the program's
    EXPECT_FALSE(doc.changingControl);
    EXPECT_FALSE(doc.modified);
    EXPECT_FALSE(doc.undoAllowed);
}

TEST(WordWrapCommand, FlipsTheDocumentsWrapAndShowsItOnTheControlAndTheMenu) {
    EditFixture f;
    f.editor.doc.wordWrap = true;
    OnWordWrap(f.editor);
    EXPECT_FALSE(f.editor.doc.wordWrap);
    EXPECT_FALSE(f.control.wordWrap);
    EXPECT_FALSE(f.window.MenuChecked(MenuItem::WordWrap));
    OnWordWrap(f.editor);
    EXPECT_TRUE(f.control.wordWrap);
    EXPECT_TRUE(f.window.MenuChecked(MenuItem::WordWrap));
    EXPECT_FALSE(f.editor.doc.modified);
}

} // namespace
} // namespace quillet
